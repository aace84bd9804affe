#include "operations/StatusFlow.h"
#include "operations/OptimiseFlow.h"
#include "support/ManualClock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(StatusFlow, TheLastOptimiseIsTheNewestThatDidNotFail)
{
    QTemporaryDir folder;
    ManualClock clock(QDateTime(QDate(2026, 12, 5), QTime(23, 59, 0)));
    ActivityLog log(folder.path(), clock);
    const auto optimise = [&](const QDateTime& at, const QString& failure) {
        clock.set(at);
        ASSERT_TRUE(log.Write_Log(LogEntry::statement("10.0.0.5", OptimiseFlow::tag,
                                                      "REINDEX\nDBCC", failure))
                        .written);
    };
    EXPECT_FALSE(StatusFlow::lastLogged(folder.path(), OptimiseFlow::tag).isValid());
    optimise(QDateTime(QDate(2026, 12, 5), QTime(23, 59, 0)), {});
    optimise(QDateTime(QDate(2026, 12, 6), QTime(0, 30, 1)), {});
    optimise(QDateTime(QDate(2026, 12, 6), QTime(15, 4, 5)), {});
    optimise(QDateTime(QDate(2026, 12, 6), QTime(16, 0, 0)), "Lock request time out");
    LogEntry other = LogEntry::statement("10.0.0.5", "현황삭제", "DELETE FROM PE", {});
    clock.set(QDateTime(QDate(2026, 12, 6), QTime(17, 0, 0)));
    ASSERT_TRUE(log.Write_Log(other).written);
    EXPECT_EQ(StatusFlow::lastLogged(folder.path(), OptimiseFlow::tag),
              QDateTime(QDate(2026, 12, 6), QTime(15, 4, 5)));
}

} // namespace
