#pragma once

#include "core/ActivityLog.h"
#include "core/Cp949.h"
#include "db/Mod_DB.h"
#include "operations/Flow.h"
#include "support/Files.h"
#include "support/FixtureDatabase.h"
#include "support/ManualClock.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Failures print texts readably.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// An operation's surroundings for one test: its own demo database (through SQLite's own
// interface, as the demo runs, or through the ODBC layer SQL Server goes through), a log folder,
// a manual clock and a fixed address.
struct FlowHarness
{
    enum class Backend
    {
        Sqlite,
        Odbc,
    };

    explicit FlowHarness(Backend backend = Backend::Sqlite)
        : db(backend == Backend::Sqlite ? fixture.connect() : fixture.connectOdbc())
    {
    }

    FixtureDatabase fixture;
    std::unique_ptr<Mod_DB> db;
    QTemporaryDir logRoot;
    QString logFolder = logRoot.filePath(QStringLiteral("DB_Log"));
    ManualClock clock;
    ActivityLog log{logFolder, clock};
    std::function<QString()> localAddress = [] { return QStringLiteral("192.168.0.25"); };

    FlowContext flow() { return {*db, log, localAddress}; }

    // The day's log file, named by the clock's date.
    QString logFile() const
    {
        return QDir(logFolder).filePath(clock.now().date().toString(u"yyyyMMdd") +
                                        QStringLiteral(".TXT"));
    }
    // The day's log file as text; empty when nothing was written.
    QString logText() const { return Cp949::decode(fileBytes(logFile())); }
    // What a successful statement leaves in the log after the time stamp.
    static QString entry(const QString& tag, const QString& sql)
    {
        return QStringLiteral("192.168.0.25\r\n") + tag + QStringLiteral("\r\n") + sql +
               QStringLiteral("\r\n\r\n\r\n");
    }
    int number(const QString& sql) { return firstValue(*db, sql).toInt(); }
    void run(const QString& sql)
    {
        ASSERT_TRUE(db->DB_Execute(sql).succeeded) << db->DB_ErrText().toStdString();
    }
};
