#include "operations/SqlTexts.h"
#include "support/FixtureDatabase.h"

#include <gtest/gtest.h>

namespace {

qint64 count(Mod_DB& db, const QString& from)
{
    return firstValue(db, "SELECT count(*) FROM " + from).toLongLong();
}

struct Area
{
    Deletion deletion;
    const char* statement; // as it has always been sent, byte for byte
};

} // namespace

// Each delete is sent exactly as before, and its copy selects exactly the rows it then removes.
TEST(DeletePlan, EachAreasCopySelectsWhatItsDeleteRemoves)
{
    using namespace SqlTexts;
    constexpr Dialect lite = Dialect::Sqlite;
    const Area areas[] = {
        {openTableDeleteAll(lite), "DELETE FROM PE WHERE PE_CK='0'"},
        {openTableDeleteOne(lite, "1004"), "DELETE FROM PE WHERE PE_CK='0'AND PE_ID ='1004'"},
        {payCancelDelete(lite),
         "delete from ac_temp;\r\ndelete from credit_temp;\r\ndelete from pecash_temp"},
        {deliveryDeleteAll(lite),
         "DELETE FROM DTD\r\n where (DTD_STATUS < 3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y'"},
        {deliveryDeleteRange(lite, "2024-06-10", "2024-06-10"),
         "DELETE FROM DTD\r\nWHERE (DTD_EDATE BETWEEN '2024-06-10'\r\n AND '2024-06-10'\r\n "
         "AND(DTD_STATUS < 3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y')"}};
    for (const auto& [deletion, statement] : areas) {
        SCOPED_TRACE(statement);
        EXPECT_EQ(deletion.statement(), QString::fromUtf8(statement));
        FixtureDatabase fixture;
        const std::unique_ptr<Mod_DB> db = fixture.connect();
        std::vector<qint64> selected, before;
        for (const DeletePlan& part : deletion.parts) {
            selected.push_back(count(*db, "(" + part.copyQuery(lite) + ")"));
            before.push_back(count(*db, part.table));
        }
        ASSERT_TRUE(db->DB_Execute(deletion.statement()).succeeded)
            << db->DB_ErrText().toStdString();
        qint64 removedTotal = 0;
        for (size_t i = 0; i < deletion.parts.size(); ++i) {
            const qint64 removed = before[i] - count(*db, deletion.parts[i].table);
            EXPECT_EQ(selected[i], removed) << deletion.parts[i].table.toStdString();
            removedTotal += removed;
        }
        EXPECT_GT(removedTotal, 0) << "the sample rows give every delete something to remove";
    }
    EXPECT_EQ(payCancelDelete(Dialect::SqlServer).statement(),
              "delete from ac_temp\r\ndelete from credit_temp\r\ndelete from pecash_temp");
}

// Only a part made for the whole table copies every row; a missing condition copies nothing.
TEST(DeletePlan, AMissingConditionNeverMeansEveryRow)
{
    EXPECT_EQ(DeletePlan::rows("DELETE FROM ", "PE", " WHERE ", " ").copyQuery(Dialect::Sqlite),
              QString());
    EXPECT_EQ(DeletePlan::whole("delete from ", "ac_temp").copyQuery(Dialect::SqlServer),
              "SELECT * FROM ac_temp WITH (UPDLOCK, HOLDLOCK)");
}
