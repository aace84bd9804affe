#include "json/PercentText.h"
#include "TreeText.h"

#include <gtest/gtest.h>

namespace {

struct Percent
{
    const char* raw;
    bool ok;
    const char* text; // treeText of the decoded text
};

void PrintTo(const Percent& p, std::ostream* os)
{
    *os << '"' << p.raw << '"';
}

class DecodePercent : public ::testing::TestWithParam<Percent>
{
};

TEST_P(DecodePercent, ReadsHexadecimalUtf8)
{
    const Percent& p = GetParam();
    bool ok = !p.ok;
    const QString text = DecodePercentText(QString::fromLatin1(p.raw), &ok);
    EXPECT_EQ(ok, p.ok);
    EXPECT_EQ(treeText(JsonValue(text)).toStdString(), p.text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, DecodePercent, ::testing::Values(
    Percent{"4142", true, "\"AB\""},
    Percent{"  %41%42 ", true, "\"AB\""},
    Percent{"%41%09%42%09", true, "\"AB\""},
    // Odd lengths: half the length rounded to even bytes, a last single character alone.
    Percent{"%41%4", true, "\"A\\u0004\""},
    Percent{"%41%42%4", true, "\"AB\""},
    Percent{"%41%42%43%4", true, "\"ABC\\u0004\""},
    // Malformed UTF-8 becomes U+FFFD, nothing is dropped; a byte-order mark stays a character.
    Percent{"%FF", true, "\"\xEF\xBF\xBD\""},
    Percent{"%E2%82", true, "\"\xEF\xBF\xBD\xEF\xBF\xBD\""}, // each byte of a cut-short sequence
    Percent{"%EF%BB%BF%41", true, "\"\xEF\xBB\xBF" "A\""},
    // Too short or not hexadecimal.
    Percent{"", false, "\"\""},
    Percent{"%%", false, "\"\""},
    Percent{"%4", false, "\"\""},
    Percent{" 4 ", false, "\"\""},
    Percent{"%4G", false, "\"\""},
    Percent{"%4 1", false, "\"\""},
    Percent{"%-1", false, "\"\""}));
// clang-format on

} // namespace
