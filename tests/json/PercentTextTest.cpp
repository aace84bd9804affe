#include "json/PercentText.h"

#include <gtest/gtest.h>

namespace {

TEST(DecodePercentText, ReadsHexadecimalUtf8)
{
    struct Row
    {
        const char* raw;
        bool ok;
        const char* text; // UTF-8
    };
    // clang-format off
    const Row rows[] = {
        {"  %EA%B9%80%09%41 ", true, "김A"}, // blanks around and tabs dropped
        // Odd lengths: half the length rounded to even bytes, a last single character alone.
        {"%41%4", true, "A\x04"}, {"%41%42%4", true, "AB"}, {"%41%42%43%4", true, "ABC\x04"},
        // Malformed UTF-8 becomes U+FFFD, each byte of a cut-short sequence.
        {"%E2%82", true, "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"", false, ""}, {"%4", false, ""}, {"%4G", false, ""}, {"%-1", false, ""},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.raw);
        bool ok = !row.ok;
        EXPECT_EQ(DecodePercentText(QString::fromLatin1(row.raw), &ok),
                  QString::fromUtf8(row.text));
        EXPECT_EQ(ok, row.ok);
    }
}

} // namespace
