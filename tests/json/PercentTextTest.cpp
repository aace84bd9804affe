#include "json/PercentText.h"

#include <gtest/gtest.h>

namespace {

TEST(DecodePercentText, ReadsHexadecimalUtf8)
{
    // {raw, ok, text (UTF-8)}
    // clang-format off
    const std::tuple<const char*, bool, const char*> rows[] = {
        {"  %EA%B9%80%09%41 ", true, "김A"}, // blanks around and tabs dropped
        // Odd lengths: half the length rounded to even bytes, a last single character alone.
        {"%41%4", true, "A\x04"}, {"%41%42%4", true, "AB"},
        {"%E2%82", true, "\xEF\xBF\xBD\xEF\xBF\xBD"}, // each byte of a cut-short sequence
        {"%4", false, ""}, {"%4G", false, ""}};
    // clang-format on
    for (const auto& [raw, ok, text] : rows) {
        bool decoded = !ok;
        EXPECT_EQ(DecodePercentText(raw, &decoded), QString::fromUtf8(text)) << raw;
        EXPECT_EQ(decoded, ok) << raw;
    }
}

} // namespace
