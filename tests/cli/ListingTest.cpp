#include "cli/Listing.h"
#include "operations/GridLayouts.h"
#include "support/CheckTable.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

// What the command line writes: the grid's headers and cells, aligned by terminal width (a
// Hangul syllable takes two places), CSV with quoting only where needed, JSON by header.
TEST(Listing, TableCsvAndJsonCarryTheGridsCells)
{
    TextTable table = checkTable(2);
    table.setCell(2, 1, QStringLiteral("가,\"나\""));
    table.setCell(1, 0, QStringLiteral("123456789012345")); // wider than its header
    const Listing listing = Listing::of(openTableGridLayout(), table, 5);
    ASSERT_EQ(listing.rows.size(), 2u);  // never past the table
    EXPECT_EQ(listing.rows[0][1], "A1"); // trimmed as the grid shows it

    const QStringList lines = listingTable(listing).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    // Every row's third column starts at the same terminal place.
    const auto placeOfDate = [](const QString& line) {
        const qsizetype at = line.indexOf(QStringLiteral("2026/"));
        int width = 0;
        for (const QChar c : line.left(at))
            width += c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3 ? 2 : 1;
        return width;
    };
    EXPECT_EQ(placeOfDate(lines[2]), placeOfDate(lines[3]));
    EXPECT_GE(placeOfDate(lines[3]), 4 + 2 + 7 + 2); // past the header 전표번호 and "가,"나""

    EXPECT_TRUE(listingCsv(listing).endsWith(
        QStringLiteral("2,\"가,\"\"나\"\"\",2026/12/06 10:02:00,\r\n")));
    EXPECT_EQ(QJsonDocument::fromJson(listingJson(listing).toUtf8())[1]
                  .toObject()
                  .value(QStringLiteral("전표번호"))
                  .toString(),
              QStringLiteral("가,\"나\""));
}

} // namespace
