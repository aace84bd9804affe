#include "json/PercentText.h"
#include "TreeText.h"

#include <gtest/gtest.h>

namespace {

TEST(DecodePercentText, ReadsHexadecimalUtf8)
{
    struct Row
    {
        const char* raw;
        bool ok;
        const char* text; // treeText of the decoded text
    };
    // clang-format off
    const Row rows[] = {
        {"4142", true, "\"AB\""},
        {"  %41%42 ", true, "\"AB\""},
        {"%41%09%42%09", true, "\"AB\""},
        // Odd lengths: half the length rounded to even bytes, a last single character alone.
        {"%41%4", true, "\"A\\u0004\""},
        {"%41%42%4", true, "\"AB\""},
        {"%41%42%43%4", true, "\"ABC\\u0004\""},
        // Malformed UTF-8 becomes U+FFFD, each byte of a cut-short sequence; a byte-order mark stays.
        {"%FF", true, "\"\xEF\xBF\xBD\""},
        {"%E2%82", true, "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
        {"%EF%BB%BF%41", true, "\"\xEF\xBB\xBF" "A\""},
        // Too short or not hexadecimal.
        {"", false, "\"\""}, {"%%", false, "\"\""}, {"%4", false, "\"\""}, {" 4 ", false, "\"\""},
        {"%4G", false, "\"\""}, {"%4 1", false, "\"\""}, {"%-1", false, "\"\""},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.raw);
        bool ok = !row.ok;
        const QString text = DecodePercentText(QString::fromLatin1(row.raw), &ok);
        EXPECT_EQ(ok, row.ok);
        EXPECT_EQ(treeText(JsonValue(text)).toStdString(), row.text);
    }
}

} // namespace
