#include "cli/TerminalText.h"
#include "cli/Listing.h"

#include <gtest/gtest.h>

namespace {

TEST(TerminalText, MeasuresAndShowsWhatATerminalDoes)
{
    const std::pair<QString, int> widths[] = {
        {"abc", 3},
        {QStringLiteral("한글"), 4},
        {QStringLiteral("😀"), 2},                // outside the basic plane
        {QStringLiteral("e\u0301"), 1},          // a combining accent takes no place
        {QStringLiteral("\u2764\uFE0F"), 2},     // a symbol asked to show as a picture
        {QStringLiteral("\uFF76\uFF21"), 3},     // half-width kana, full-width letter
        {QStringLiteral("a\u200Bb"), 2},         // a zero-width space
        {QStringLiteral("\U00020000\u3042"), 4}, // an ideograph beyond the basic plane, kana
    };
    for (const auto& [text, width] : widths)
        EXPECT_EQ(terminalWidth(text), width) << text.toStdString();

    EXPECT_EQ(visibleText(QStringLiteral("a\nb\r\tc\x01\x7f\u0085\u2028d")),
              QStringLiteral("a\\nb\\r\\tc\\x01\\x7F\\x85\\u2028d"));

    // Every row on one line, the second column starting at the same place on each.
    Listing listing;
    listing.headers = {"memo", "end"};
    listing.rows = {{QStringLiteral("😀"), "x"},
                    {QStringLiteral("e\u0301te\u0301"), "x"},
                    {QStringLiteral("한글"), "x"},
                    {"a\tb\nc", "x"}};
    const QStringList lines = listingTable(listing).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6);
    for (const QString& line : lines) // "a\tb\nc" is the widest: 7 places and 2 blanks
        EXPECT_EQ(terminalWidth(line.left(line.lastIndexOf(u' ') + 1)), 9) << line.toStdString();
}

} // namespace
