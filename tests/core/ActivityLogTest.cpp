#include "core/ActivityLog.h"
#include "core/Cp949.h"
#include "support/Files.h"
#include "support/ManualClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QDateTime at(int d, int h, int mi, int s)
{
    return QDateTime(QDate(2026, 12, d), QTime(h, mi, s));
}

// Moves on a second at each reading, as a wall clock does between two readings.
class TickingClock final : public Clock
{
public:
    QDateTime now() const override { return m_now = m_now.addSecs(1); }
    mutable QDateTime m_now = at(6, 23, 59, 58);
};

class ActivityLogTest : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    QString m_folder = m_dir.filePath("DB_Log");
    ManualClock m_clock{at(6, 15, 4, 5)};
};

} // namespace

TEST_F(ActivityLogTest, EntryIsWrittenInCp949AndTheDateDecidesTheFile)
{
    ActivityLog log(m_folder, m_clock);
    const auto entry = log.Write_Log(LogEntry::statement(
        "192.168.0.21", QStringLiteral("배달전체삭제"), "DELETE FROM DTD\nWHERE 1=1", "오류 é"));
    ASSERT_TRUE(entry.written) << entry.error.toStdString();
    EXPECT_EQ(entry.filePath, QDir(m_folder).filePath("20261206.TXT"));
    // Characters the code page lacks are written as '?'.
    EXPECT_EQ(fileBytes(entry.filePath),
              Cp949::encode(QStringLiteral(
                  "[2026-12-06 오후 3:04:05]\r\n192.168.0.21\r\n배달전체삭제"
                  "\r\nDELETE FROM DTD\nWHERE 1=1\r\n실행실패! 오류 ?\r\n\r\n\r\n")));
    // Noon is 오후 12 and midnight 오전 12.
    EXPECT_EQ(ActivityLog::timeStamp(at(6, 12, 0, 0)), "[2026-12-06 오후 12:00:00]");

    // The file is the one of the date read first, even when the stamp has
    // passed midnight; an existing file is appended to.
    TickingClock clock;
    const auto late = ActivityLog(m_folder, clock).Write_Log(LogEntry::statement("a", "b", "c"));
    EXPECT_EQ(late.filePath, entry.filePath);
    EXPECT_TRUE(fileBytes(late.filePath)
                    .endsWith("\r\n\r\n\r\n" +
                              Cp949::encode(QStringLiteral(
                                  "[2026-12-07 오전 12:00:00]\r\na\r\nb\r\nc\r\n\r\n\r\n"))));
}

TEST_F(ActivityLogTest, AnUnwritablePlaceDropsTheEntryAndSaysWhere)
{
    // No parent folder; a file where the folder belongs; a folder where the day's file belongs;
    // a full disk.
    const QString base = m_dir.path();
    ASSERT_TRUE(QFile(base + "/file").open(QIODevice::WriteOnly));
    ASSERT_TRUE(QDir().mkpath(base + "/folder/DB_Log/20261206.TXT"));
    QStringList folders{base + "/missing/DB_Log", base + "/file", base + "/folder/DB_Log"};
#ifndef _WIN32
    ASSERT_TRUE(QDir().mkpath(base + "/full/DB_Log"));
    ASSERT_TRUE(QFile::link("/dev/full", base + "/full/DB_Log/20261206.TXT"));
    folders << base + "/full/DB_Log";
#endif
    for (const QString& folder : folders) {
        const auto r = ActivityLog(folder, m_clock).Write_Log(LogEntry::statement("a", "b", "c"));
        EXPECT_FALSE(r.written) << folder.toStdString();
        EXPECT_TRUE(r.error.contains(QDir::toNativeSeparators(folder))) << r.error.toStdString();
    }
}
