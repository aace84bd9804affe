#include "db/ActivityLog.h"
#include "db/Cp949.h"
#include "support/ManualClock.h"

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

} // namespace

TEST(ActivityLogStamp, NoonMidnightAndSingleDigitHours)
{
    EXPECT_EQ(ActivityLog::timeStamp(at(2026, 12, 6, 0, 5, 9)), "[2026-12-06 오전 12:05:09]");
    EXPECT_EQ(ActivityLog::timeStamp(at(2026, 1, 2, 9, 30, 0)), "[2026-01-02 오전 9:30:00]");
    EXPECT_EQ(ActivityLog::timeStamp(at(2026, 12, 6, 12, 0, 0)), "[2026-12-06 오후 12:00:00]");
    EXPECT_EQ(ActivityLog::timeStamp(at(2026, 12, 31, 23, 59, 59)), "[2026-12-31 오후 11:59:59]");
}

TEST_F(ActivityLogTest, EntriesOfADayShareOneFileInCp949)
{
    const auto first = m_log.Write_Log(LogEntry::connectionFailure());
    m_clock.advanceSeconds(3600);
    const auto second = m_log.Write_Log(LogEntry::statement(
        "192.168.0.21", QStringLiteral("배달전체삭제"), "DELETE FROM DTD\nWHERE 1=1", "오류 é"));
    ASSERT_TRUE(first.written && second.written) << second.error.toStdString();
    EXPECT_EQ(second.filePath, QDir(m_folder).filePath("20261206.TXT"));
    // Characters the code page lacks are written as '?'.
    EXPECT_EQ(readBytes(second.filePath),
              ansi(QStringLiteral("[2026-12-06 오후 3:04:05]\r\nDB접속실패!\r\nFalse\r\n\r\n\r\n"
                                  "[2026-12-06 오후 4:04:05]\r\n192.168.0.21\r\n배달전체삭제\r\n"
                                  "DELETE FROM DTD\nWHERE 1=1\r\n실행실패! 오류 ?\r\n\r\n\r\n")));
}

TEST_F(ActivityLogTest, DateDecidesTheFileAndAnExistingFileIsAppendedTo)
{
    ASSERT_TRUE(QDir().mkdir(m_folder));
    QFile old(QDir(m_folder).filePath("20261207.TXT"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier\r\n");
    old.close();
    // The file is the one of the date read first, even when the stamp has passed midnight.
    SteppingClock clock({at(2026, 12, 6, 23, 59, 59), at(2026, 12, 7, 0, 0, 0)});
    ActivityLog log(m_folder, clock);
    const auto late = log.Write_Log(LogEntry::statement("a", "b", "c"));
    EXPECT_EQ(late.filePath, QDir(m_folder).filePath("20261206.TXT"));
    EXPECT_TRUE(readBytes(late.filePath).startsWith(ansi("[2026-12-07 오전 12:00:00]")));
    m_clock.set(at(2026, 12, 7, 1, 0, 0));
    ASSERT_TRUE(m_log.Write_Log(LogEntry::statement("a", "b", "c")).written);
    EXPECT_EQ(readBytes(old.fileName()),
              "earlier\r\n" + ansi("[2026-12-07 오전 1:00:00]\r\na\r\nb\r\nc\r\n\r\n\r\n"));
}

TEST_F(ActivityLogTest, AnUnwritablePlaceDropsTheEntryAndSaysWhere)
{
    const QString base = m_dir.filePath("place");
    const QList<std::pair<QString, std::function<void(const QString&)>>> places = {
        {base + "/missing/DB_Log", [](const QString&) {}},
        {base + "/file/DB_Log",
         [](const QString& folder) {
             QDir().mkpath(QFileInfo(folder).path());
             QFile(folder).open(QIODevice::WriteOnly);
         }},
        {base + "/folder/DB_Log",
         [](const QString& folder) { QDir().mkpath(folder + "/20261206.TXT"); }},
#ifndef _WIN32
        {base + "/full/DB_Log",
         [](const QString& folder) {
             QDir().mkpath(folder);
             QFile::link("/dev/full", folder + "/20261206.TXT");
         }},
#endif
    };
    for (const auto& [folder, arrange] : places) {
        arrange(folder);
        ActivityLog log(folder, m_clock);
        const auto r = log.Write_Log(LogEntry::statement("a", "b", "c"));
        EXPECT_FALSE(r.written) << folder.toStdString();
        EXPECT_TRUE(r.error.contains(QDir::toNativeSeparators(folder))) << r.error.toStdString();
    }
}
