#include "operations/DeliveriesFlow.h"
#include "operations/OpenChecksFlow.h"
#include "operations/OptimiseFlow.h"

#include "support/FlowHarness.h"

namespace {

using Backend = FlowHarness::Backend;

class FlowTest : public ::testing::TestWithParam<Backend>
{
protected:
    FlowHarness h{GetParam()};
    FlowContext flow = h.flow();

    int count(const QString& fromWhere) { return h.number("SELECT COUNT(*) FROM " + fromWhere); }
};

TEST_P(FlowTest, OpenChecksListThenGoOneOrAllAndEachDeleteIsLogged)
{
    const int open = count("PE WHERE PE_CK='0'");
    const int settled = count("PE WHERE PE_CK<>'0'");
    ASSERT_GT(open, 2);
    const SearchOutcome found = OpenChecksFlow::search(flow);
    ASSERT_TRUE(found.succeeded) << found.error.toStdString();
    EXPECT_EQ(found.rows, open);

    // A check number with a quote deletes nothing else.
    const ChangeOutcome odd = OpenChecksFlow::remove(flow, QStringLiteral("1' OR '1'='1"));
    EXPECT_TRUE(odd.succeeded) << odd.error.toStdString();
    EXPECT_EQ(count("PE WHERE PE_CK='0'"), open);

    const QString chosen = found.table.cell(1, 1).trimmed();
    const ChangeOutcome one = OpenChecksFlow::remove(flow, chosen);
    ASSERT_TRUE(one.succeeded) << one.error.toStdString();
    EXPECT_EQ(count("PE WHERE PE_ID=" + chosen), 0);
    EXPECT_EQ(count("PE WHERE PE_CK='0'"), open - 1);

    const ChangeOutcome all = OpenChecksFlow::remove(flow, std::nullopt);
    ASSERT_TRUE(all.succeeded) << all.error.toStdString();
    EXPECT_TRUE(all.logged.written);
    // The archive names the database, never the connection string behind it.
    EXPECT_TRUE(fileBytes(all.archiveFile).contains(h.fixture.path().toUtf8()));
    EXPECT_EQ(count("PE WHERE PE_CK='0'"), 0);
    EXPECT_EQ(count("PE"), settled);
    EXPECT_TRUE(h.logText().endsWith(FlowHarness::entry(OpenChecksFlow::deleteTag, all.sql)))
        << h.logText().toStdString();
}

TEST_P(FlowTest, ARefusedStatementChangesNothingAndItsEntrySaysWhy)
{
    h.run("CREATE TRIGGER keep BEFORE DELETE ON PE BEGIN SELECT RAISE(ABORT, '지울 수 없음'); END");
    const int rows = count("PE");
    const ChangeOutcome outcome = OpenChecksFlow::remove(flow, std::nullopt);
    EXPECT_FALSE(outcome.succeeded);
    // The database would run its own delete trigger: refused before anything is deleted.
    EXPECT_TRUE(outcome.error.contains(QStringLiteral("삭제 트리거 keep (PE)")))
        << outcome.error.toStdString();
    EXPECT_EQ(count("PE"), rows);
    EXPECT_TRUE(outcome.logged.written);
    EXPECT_TRUE(h.logText().contains(outcome.sql + "\r\n실행실패! " + outcome.error + "\r\n"));

    const SearchOutcome failed =
        DeliveriesFlow::search(flow, DeliveriesFlow::Range::between("x'", "y"));
    EXPECT_TRUE(failed.succeeded); // a quote in a date is only text to the server
}

TEST_P(FlowTest, OptimiseRebuildsAndIsLogged)
{
    const ChangeOutcome outcome = OptimiseFlow::run(flow);
    EXPECT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_TRUE(h.logText().endsWith(FlowHarness::entry(OptimiseFlow::tag, outcome.sql)));
}

INSTANTIATE_TEST_SUITE_P(Backends, FlowTest, ::testing::Values(Backend::Sqlite, Backend::Odbc),
                         [](const auto& info) {
                             return info.param == Backend::Sqlite ? "Sqlite" : "Odbc";
                         });

} // namespace
