#pragma once

#include "core/ActivityLog.h"
#include "core/Cp949.h"
#include "db/Mod_DB.h"
#include "support/Files.h"
#include "support/FixtureDatabase.h"
#include "support/ManualClock.h"
#include "support/ScriptedMessageBoxes.h"
#include "window/ResultGrid.h"
#include "window/WorkContext.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Failures print texts readably.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// A work area's surroundings for one test: its own demo database (through SQLite's own interface,
// as the demo runs, or through the ODBC layer SQL Server goes through), a log folder, scripted
// boxes and a fixed address.
struct AreaHarness
{
    enum class Backend
    {
        Sqlite,
        Odbc,
    };

    explicit AreaHarness(Backend backend = Backend::Sqlite)
        : db(backend == Backend::Sqlite ? fixture.connect() : fixture.connectOdbc())
    {
    }

    FixtureDatabase fixture;
    std::unique_ptr<Mod_DB> db;
    QTemporaryDir logRoot;
    QString logFolder = logRoot.filePath(QStringLiteral("DB_Log"));
    ManualClock clock;
    ActivityLog log{logFolder, clock};
    ScriptedMessageBoxes boxes;
    WorkContext context{*db, log, boxes, [] { return QStringLiteral("192.168.0.25"); }};

    // The day's log file as text; empty when nothing was written.
    QString logText() const
    {
        return Cp949::decode(fileBytes(logFolder + QStringLiteral("/20261206.TXT")));
    }
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
    // Picks a data row the way a click does.
    static void choose(ResultGrid& grid, int row)
    {
        grid.setCurrentIndex(grid.model()->index(row - 1, 1));
    }
};
