#pragma once

#include "db/ActivityLog.h"
#include "db/Cp949.h"
#include "db/Mod_DB.h"
#include "db/TextTable.h"
#include "maintenance/ResultGrid.h"
#include "maintenance/WorkContext.h"
#include "support/FixtureDatabase.h"
#include "support/ManualClock.h"
#include "support/ScriptedMessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// Failures print texts readably.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// A work area's surroundings for one test: its own demo database, a log folder, scripted boxes and
// a fixed address.
struct AreaHarness
{
    enum class Backend
    {
        Sqlite, // SQLite's own interface, as the demo runs
        Odbc,   // the ODBC layer SQL Server goes through, here with the SQLite ODBC driver
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

    static inline const QString address = QStringLiteral("192.168.0.25");

    // The day's log file as text; empty when nothing was written.
    QString logText() const
    {
        QFile file(QDir(logFolder).filePath(QStringLiteral("20261206.TXT")));
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        return Cp949::decode(file.readAll());
    }

    // The single entry of the log without its time-stamp line.
    QString onlyEntry() const
    {
        const QString text = logText();
        EXPECT_TRUE(text.startsWith(QLatin1Char('['))) << text.toStdString();
        EXPECT_EQ(text.count(QStringLiteral("]\r\n")), 1) << text.toStdString();
        return text.mid(text.indexOf(QStringLiteral("\r\n")) + 2);
    }

    // What a delete of a successful statement leaves in the log after the time stamp.
    static QString entry(const QString& tag, const QString& sql)
    {
        return address + QStringLiteral("\r\n") + tag + QStringLiteral("\r\n") + sql +
               QStringLiteral("\r\n\r\n\r\n");
    }

    // A single number from the database, -1 when the query failed.
    int number(const QString& sql)
    {
        TextTable table;
        qint32 rows = 0;
        qint32 columns = 0;
        db->DB_Query(sql, table, rows, columns);
        if (db->DB_Status() != 1 || rows != 1)
            return -1;
        return table.cell(1, 0).toInt();
    }

    // Runs set-up SQL; a failure is a test failure.
    void run(const QString& sql)
    {
        db->DB_Execute(sql);
        ASSERT_EQ(db->DB_Status(), 1) << db->DB_ErrText().toStdString();
    }

    // Picks a data row the way a click does.
    static void choose(ResultGrid& grid, int row)
    {
        grid.setCurrentIndex(grid.model()->index(row - 1, 1));
    }
};

inline void PrintTo(AreaHarness::Backend backend, std::ostream* os)
{
    *os << (backend == AreaHarness::Backend::Sqlite ? "Sqlite" : "Odbc");
}

inline std::string backendName(const ::testing::TestParamInfo<AreaHarness::Backend>& info)
{
    return ::testing::PrintToString(info.param);
}
