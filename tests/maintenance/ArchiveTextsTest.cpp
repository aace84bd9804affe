#include "maintenance/ArchiveTexts.h"
#include "maintenance/SqlTexts.h"
#include "support/FixtureDatabase.h"

#include <gtest/gtest.h>

namespace {

struct AreaDelete
{
    const char* name;
    QString deleteStatement;
    std::vector<ArchiveCopy> copies;
};

qint64 count(Mod_DB& db, const QString& table, const QString& where = QString())
{
    return firstValue(db,
                      "SELECT count(*) FROM " + table + (where.isEmpty() ? "" : " WHERE " + where))
        .toLongLong();
}

} // namespace

class ArchiveTextsArea : public testing::TestWithParam<AreaDelete>
{
};

// Each copy selects exactly the rows its delete then removes, and none are left for it after.
TEST_P(ArchiveTextsArea, CopySelectsWhatTheDeleteRemoves)
{
    FixtureDatabase fixture;
    const std::unique_ptr<Mod_DB> db = fixture.connect();
    const AreaDelete& area = GetParam();
    std::vector<qint64> selected, before;
    for (const ArchiveCopy& copy : area.copies) {
        selected.push_back(count(*db, copy.table, copy.where));
        before.push_back(count(*db, copy.table));
    }
    ASSERT_TRUE(db->DB_Execute(area.deleteStatement).succeeded) << db->DB_ErrText().toStdString();
    qint64 removedTotal = 0;
    for (size_t i = 0; i < area.copies.size(); ++i) {
        const qint64 removed = before[i] - count(*db, area.copies[i].table);
        EXPECT_EQ(selected[i], removed) << area.copies[i].table.toStdString();
        EXPECT_EQ(count(*db, area.copies[i].table, area.copies[i].where), 0);
        removedTotal += removed;
    }
    EXPECT_GT(removedTotal, 0) << "the sample rows give every delete something to remove";
}

using namespace ArchiveTexts;
constexpr Dialect lite = Dialect::Sqlite;

INSTANTIATE_TEST_SUITE_P(
    Areas, ArchiveTextsArea,
    testing::Values(
        AreaDelete{"OpenAll", SqlTexts::openTableDeleteAll(lite), openTableDeleteAll(lite)},
        AreaDelete{"OpenOne", SqlTexts::openTableDeleteOne(lite, "1004"),
                   openTableDeleteOne(lite, "1004")},
        AreaDelete{"PayCancel", SqlTexts::payCancelDelete(lite), payCancelDelete(lite)},
        AreaDelete{"DeliveriesAll", SqlTexts::deliveryDeleteAll(lite), deliveryDeleteAll(lite)},
        AreaDelete{"DeliveriesRange",
                   SqlTexts::deliveryDeleteRange(lite, "2024-06-10", "2024-06-10"),
                   deliveryDeleteRange(lite, "2024-06-10", "2024-06-10")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArchiveTexts, WhereOfDeleteKeepsTheConditionAsSent)
{
    EXPECT_EQ(whereOfDelete("DELETE FROM PE WHERE PE_CK='0'AND PE_ID ='1''2'"),
              "PE_CK='0'AND PE_ID ='1''2'");
    EXPECT_EQ(whereOfDelete("DELETE FROM DTD\r\n where (A < 3)"), "(A < 3)");
    EXPECT_EQ(whereOfDelete("DELETE FROM DTD\r\nWHERE(A)"), "(A)");
    EXPECT_EQ(whereOfDelete("delete from ac_temp"), "");
    EXPECT_EQ(whereOfDelete("DELETE FROM WHEREVER"), "");
}
