#include "db/ActivityLog.h"
#include "db/Cp949.h"
#include "support/ManualClock.h"
#include "support/PosixOnly.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray ansi(const QString& text)
{
    return Cp949::encode(text);
}

QDateTime at(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// Answers each call with the next time of a list, as a wall clock does between two readings.
class SteppingClock final : public Clock
{
public:
    explicit SteppingClock(QList<QDateTime> times) : m_times(std::move(times)) {}
    QDateTime now() const override
    {
        return m_next < m_times.size() ? m_times[m_next++] : m_times.back();
    }

private:
    QList<QDateTime> m_times;
    mutable qsizetype m_next = 0;
};

class ActivityLogTest : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    QString m_folder = m_dir.filePath("DB_Log");
    ManualClock m_clock{at(2026, 12, 6, 15, 4, 5)};
    ActivityLog m_log{m_folder, m_clock};
};

const QString kDelete = QStringLiteral("DELETE FROM DTD\nWHERE DTD_STATUS <> '9' -- 배달");

} // namespace

struct StampRow
{
    QDateTime time;
    const char* expected;
};

class TimeStamp : public ::testing::TestWithParam<StampRow>
{
};

TEST_P(TimeStamp, ReadsAsKoreanGeneralDateTime)
{
    EXPECT_EQ(ActivityLog::timeStamp(GetParam().time), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TimeStamp,
    ::testing::Values(StampRow{at(2026, 12, 6, 0, 0, 0), "[2026-12-06 오전 12:00:00]"},
                      StampRow{at(2026, 12, 6, 0, 5, 9), "[2026-12-06 오전 12:05:09]"},
                      StampRow{at(2026, 1, 2, 9, 30, 0), "[2026-01-02 오전 9:30:00]"},
                      StampRow{at(2026, 12, 6, 11, 59, 59), "[2026-12-06 오전 11:59:59]"},
                      StampRow{at(2026, 12, 6, 12, 0, 0), "[2026-12-06 오후 12:00:00]"},
                      StampRow{at(2026, 12, 6, 15, 4, 5), "[2026-12-06 오후 3:04:05]"},
                      StampRow{at(2026, 12, 31, 23, 59, 59), "[2026-12-31 오후 11:59:59]"}));

TEST_F(ActivityLogTest, ConnectionFailureEntryCreatesFolderAndFile)
{
    ASSERT_FALSE(QDir(m_folder).exists());
    const auto r = m_log.Write_Log(QStringLiteral("DB접속실패!"), "False", "\r\n", "", "");
    EXPECT_TRUE(r.written) << r.error.toStdString();
    EXPECT_TRUE(r.error.isEmpty());
    EXPECT_EQ(r.filePath, QDir(m_folder).filePath("20261206.TXT"));
    EXPECT_EQ(
        readBytes(r.filePath),
        ansi(QStringLiteral("[2026-12-06 오후 3:04:05]\r\nDB접속실패!\r\nFalse\r\n\r\n\r\n")));
}

TEST_F(ActivityLogTest, TwoDeletesOfOneDayShareTheFile)
{
    m_log.Write_Log("192.168.0.21", QStringLiteral("배달전체삭제"), kDelete, "\r\n", "");
    m_clock.advanceSeconds(3600);
    const auto r = m_log.Write_Log("192.168.0.21", QStringLiteral("현황삭제"),
                                   "DELETE FROM PE WHERE PE_CK = '0'", "\r\n", "");
    ASSERT_TRUE(r.written);
    EXPECT_EQ(readBytes(r.filePath),
              ansi(QStringLiteral("[2026-12-06 오후 3:04:05]\r\n192.168.0.21\r\n배달전체삭제\r\n") +
                   kDelete +
                   "\r\n\r\n\r\n"
                   "[2026-12-06 오후 4:04:05]\r\n192.168.0.21\r\n현황삭제\r\n"
                   "DELETE FROM PE WHERE PE_CK = '0'\r\n\r\n\r\n"));
}

TEST_F(ActivityLogTest, EmptyItemsOneAndTwoKeepTheirLinesOthersDrop)
{
    const auto r = m_log.Write_Log("", "", "", "x", "");
    ASSERT_TRUE(r.written);
    EXPECT_EQ(readBytes(r.filePath),
              ansi(QStringLiteral("[2026-12-06 오후 3:04:05]\r\n\r\n\r\nx\r\n")));
    // Characters the code page lacks are written as '?'.
    EXPECT_EQ(ActivityLog::entryBytes(at(2026, 12, 6, 1, 2, 3), "a", "b", "c", "d", "é"),
              ansi(QStringLiteral("[2026-12-06 오전 1:02:03]\r\n")) + "a\r\nb\r\nc\r\nd\r\n?\r\n");
}

TEST_F(ActivityLogTest, NewDateStartsNewFileAndKeepsTheOld)
{
    m_clock.set(at(2026, 12, 6, 23, 59, 59));
    const auto first = m_log.Write_Log("10.0.0.1", "DB최적화", "REINDEX", "\r\n", "");
    m_clock.advanceSeconds(2);
    const auto second = m_log.Write_Log("10.0.0.1", "DB최적화", "REINDEX", "\r\n", "");
    ASSERT_TRUE(first.written && second.written);
    EXPECT_EQ(second.filePath, QDir(m_folder).filePath("20261207.TXT"));
    EXPECT_EQ(readBytes(first.filePath),
              ansi(QStringLiteral(
                  "[2026-12-06 오후 11:59:59]\r\n10.0.0.1\r\nDB최적화\r\nREINDEX\r\n\r\n\r\n")));
    EXPECT_EQ(readBytes(second.filePath),
              ansi(QStringLiteral(
                  "[2026-12-07 오전 12:00:01]\r\n10.0.0.1\r\nDB최적화\r\nREINDEX\r\n\r\n\r\n")));
}

TEST_F(ActivityLogTest, EntryStaysInTheFileOfTheDateItBeganOn)
{
    SteppingClock clock({at(2026, 12, 6, 23, 59, 59), at(2026, 12, 7, 0, 0, 0)});
    ActivityLog log(m_folder, clock);
    const auto r = log.Write_Log(QStringLiteral("DB접속실패!"), "False", "\r\n", "", "");
    ASSERT_TRUE(r.written);
    EXPECT_EQ(r.filePath, QDir(m_folder).filePath("20261206.TXT"));
    EXPECT_TRUE(
        readBytes(r.filePath).startsWith(ansi(QStringLiteral("[2026-12-07 오전 12:00:00]"))));
}

TEST_F(ActivityLogTest, ExistingFileIsAppendedTo)
{
    ASSERT_TRUE(QDir().mkdir(m_folder));
    QFile old(QDir(m_folder).filePath("20261206.TXT"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier\r\n");
    old.close();
    ASSERT_TRUE(m_log.Write_Log("a", "b", "", "", "").written);
    EXPECT_EQ(readBytes(old.fileName()),
              "earlier\r\n" + ansi(QStringLiteral("[2026-12-06 오후 3:04:05]\r\na\r\nb\r\n")));
}

struct BlockedRow
{
    const char* name;
    void (*arrange)(const QString& folder); // makes the place unusable
};

void PrintTo(const BlockedRow& row, std::ostream* os)
{
    *os << row.name;
}

class BlockedLog : public ActivityLogTest, public ::testing::WithParamInterface<BlockedRow>
{
};

TEST_P(BlockedLog, EntryIsDroppedAndReported)
{
    const QString folder = m_dir.filePath("place/DB_Log");
    GetParam().arrange(folder);
    if (IsSkipped() || HasFatalFailure())
        return;
    ActivityLog log(folder, m_clock);
    const auto r =
        log.Write_Log("192.168.0.21", QStringLiteral("현황삭제"), "DELETE FROM PE", "\r\n", "");
    EXPECT_FALSE(r.written);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(r.error.contains(QDir::toNativeSeparators(folder))) << r.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BlockedLog,
    ::testing::Values(BlockedRow{"missing_parent", [](const QString&) {}},
                      BlockedRow{"file_in_folder_place",
                                 [](const QString& folder) {
                                     QDir().mkpath(QFileInfo(folder).path());
                                     QFile f(folder);
                                     ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                                 }},
                      BlockedRow{"folder_in_file_place",
                                 [](const QString& folder) {
                                     ASSERT_TRUE(QDir().mkpath(folder + "/20261206.TXT"));
                                 }},
                      BlockedRow{"disk_full_while_writing",
                                 [](const QString& folder) {
                                     SKIP_ON_WINDOWS("no /dev/full");
                                     ASSERT_TRUE(QDir().mkpath(folder));
                                     ASSERT_TRUE(
                                         QFile::link("/dev/full", folder + "/20261206.TXT"));
                                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ActivityLogTest, ReadOnlyFolderIsReported)
{
    if (!fileModesBindUs()) {
        GTEST_SKIP() << "root (and Windows) writes into read-only folders";
    }
    ASSERT_TRUE(QDir().mkdir(m_folder));
    QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::ExeOwner);
    const auto r = m_log.Write_Log("a", "b", "", "", "");
    QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(r.written);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST(ActivityLogFolder, DefaultIsDbLogInTheHomeFolder)
{
#ifdef _WIN32
    EXPECT_EQ(ActivityLog::defaultFolder(), "C:/DB_Log");
#else
    EXPECT_EQ(ActivityLog::defaultFolder(), QDir::homePath() + "/DB_Log");
#endif
}
