#include "operations/ArchiveTexts.h"
#include "operations/SqlTexts.h"
#include "support/FixtureDatabase.h"

#include <gtest/gtest.h>

using namespace ArchiveTexts;

namespace {

qint64 count(Mod_DB& db, const QString& table, const QString& where = QString())
{
    return firstValue(db,
                      "SELECT count(*) FROM " + table + (where.isEmpty() ? "" : " WHERE " + where))
        .toLongLong();
}

} // namespace

// Each copy selects exactly the rows its delete then removes, and none are left for it after.
TEST(ArchiveTexts, EachAreasCopySelectsWhatItsDeleteRemoves)
{
    constexpr Dialect lite = Dialect::Sqlite;
    const std::pair<QString, std::vector<ArchiveCopy>> areas[] = {
        {SqlTexts::openTableDeleteAll(lite), openTableDeleteAll(lite)},
        {SqlTexts::openTableDeleteOne(lite, "1004"), openTableDeleteOne(lite, "1004")},
        {SqlTexts::payCancelDelete(lite), payCancelDelete(lite)},
        {SqlTexts::deliveryDeleteAll(lite), deliveryDeleteAll(lite)},
        {SqlTexts::deliveryDeleteRange(lite, "2024-06-10", "2024-06-10"),
         deliveryDeleteRange(lite, "2024-06-10", "2024-06-10")}};
    for (const auto& [statement, copies] : areas) {
        SCOPED_TRACE(statement.toStdString());
        FixtureDatabase fixture;
        const std::unique_ptr<Mod_DB> db = fixture.connect();
        std::vector<qint64> selected, before;
        for (const ArchiveCopy& copy : copies) {
            selected.push_back(count(*db, copy.table, copy.where));
            before.push_back(count(*db, copy.table));
        }
        ASSERT_TRUE(db->DB_Execute(statement).succeeded) << db->DB_ErrText().toStdString();
        qint64 removedTotal = 0;
        for (size_t i = 0; i < copies.size(); ++i) {
            const qint64 removed = before[i] - count(*db, copies[i].table);
            EXPECT_EQ(selected[i], removed) << copies[i].table.toStdString();
            EXPECT_EQ(count(*db, copies[i].table, copies[i].where), 0);
            removedTotal += removed;
        }
        EXPECT_GT(removedTotal, 0) << "the sample rows give every delete something to remove";
    }
}

TEST(ArchiveTexts, WhereOfDeleteKeepsTheConditionAsSent)
{
    EXPECT_EQ(whereOfDelete("DELETE FROM PE WHERE PE_CK='0'AND PE_ID ='1''2'"),
              "PE_CK='0'AND PE_ID ='1''2'");
    EXPECT_EQ(whereOfDelete("DELETE FROM DTD\r\n where (A < 3)"), "(A < 3)");
    EXPECT_EQ(whereOfDelete("DELETE FROM DTD\r\nWHERE(A)"), "(A)");
    EXPECT_EQ(whereOfDelete("delete from ac_temp"), "");
    EXPECT_EQ(whereOfDelete("DELETE FROM WHEREVER"), "");
}
