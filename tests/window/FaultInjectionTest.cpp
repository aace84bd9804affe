// Faults injected under the real window on a demo database: a database the program cannot change,
// a log it cannot write. Whatever goes wrong, the data is either changed as the user asked or left
// exactly as it was, the user is told the truth, and the program goes on working.
#include "MaintenanceWindowFixture.h"
#include "operations/OutcomeWords.h"
#include "support/QueryText.h"
#include "window/DeliveryArea.h"
#include "window/OpenTableArea.h"
#include "window/PayCancelArea.h"
#include "window/WorkSteps.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <sqlite3.h>

namespace {

enum Area
{
    OpenTables,
    PayCancel,
    Deliveries,
};

// Every row of every table, read through a connection of its own.
using TableSnapshot = QMap<QString, QString>;

TableSnapshot snapshotTables(const QString& file)
{
    TableSnapshot snapshot;
    Mod_DB db(DbTarget::sqlite(file));
    if (!db.DB_Connect())
        return snapshot;
    const QString tables = queryText(db, "SELECT name FROM sqlite_master WHERE type='table'");
    for (const QString& table : tables.split(u'\n', Qt::SkipEmptyParts).mid(1))
        snapshot.insert(
            table, queryText(db, QStringLiteral("SELECT * FROM \"%1\" ORDER BY 1").arg(table)));
    return snapshot;
}

QStringList changedTables(const TableSnapshot& before, const TableSnapshot& after)
{
    TableSnapshot tables = before;
    tables.insert(after);
    QStringList changed; // in name order, as the map keeps its tables
    for (const QString& table : tables.keys())
        if (before.value(table) != after.value(table))
            changed << table;
    return changed;
}

// Another program's statement on the same file, as on the POS computer.
class OtherConnection
{
public:
    explicit OtherConnection(const QString& file)
    {
        sqlite3_open(file.toUtf8().constData(), &m_db);
    }
    ~OtherConnection() { sqlite3_close_v2(m_db); }
    bool run(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == 0; }

private:
    sqlite3* m_db = nullptr;
};

class FaultTest : public MaintenanceWindowFixture
{
public:
    using AreaHarness::logFile;
    using MaintenanceWindowFixture::dbPath;
    void SetUp() override // the fault opens the window, after its own preparation
    {
        MaintenanceWindowFixture::SetUp();
        watched = dbPath();
    }

    // Searches and deletes in an area; gives the area's count box.
    QLineEdit* searchAndDelete(Area area)
    {
        click(window->cmd_Btn[size_t(area)]);
        const std::tuple<QPushButton*, QPushButton*, QLineEdit*> controls[] = {
            {window->Frame_Table->cmd_TBSerch, window->Frame_Table->cmd_delete,
             window->Frame_Table->TXT_COUNT_2},
            {window->Frame_PayCancel->cmd_PaySerch, window->Frame_PayCancel->cmd_payDelete,
             window->Frame_PayCancel->TXT_COUNT_1},
            {window->Frame_DTD->cmd_DTD_Serch, window->Frame_DTD->CMD_DTD_DELETE,
             window->Frame_DTD->TXT_COUNT}};
        const auto& [search, remove, count] = controls[area];
        click(search);
        boxes.answer(true);
        click(remove);
        return count;
    }

    // The tables the area's delete empties.
    static QStringList targeted(Area area)
    {
        if (area == PayCancel)
            return {"AC_TEMP", "credit_temp", "pecash_temp"};
        return {area == OpenTables ? "PE" : "DTD"};
    }

    QStringList boxesTitled(const QString& title) const
    {
        QStringList texts;
        for (const auto& shown : boxes.shown())
            if (shown.title == title)
                texts << shown.text;
        return texts;
    }

    // The next operation after the fault: another area's search lists its rows.
    void nextSearchLists(Area area)
    {
        boxes.clear();
        const bool deliveries = area != Deliveries;
        click(window->cmd_Btn[deliveries ? 2 : 0]);
        click(deliveries ? window->Frame_DTD->cmd_DTD_Serch : window->Frame_Table->cmd_TBSerch);
        EXPECT_TRUE(boxesTitled(WorkTexts::searchFailedTitle).isEmpty());
        EXPECT_GT((deliveries ? window->Frame_DTD->TXT_COUNT : window->Frame_Table->TXT_COUNT_2)
                      ->text()
                      .toInt(),
                  0);
    }

    QString watched; // where the window's data is, wherever the fault moved it
    std::unique_ptr<OtherConnection> other;
};

// A database that refuses the delete: nothing changes, the box and the log give the server's
// words, and once the fault is lifted the same delete goes through.
struct DatabaseFault
{
    const char* name;
    Area area;
    QString serverWords;
    std::function<void(FaultTest&)> inject;
    const char* lift = nullptr; // the statement that lifts the fault, where one does
};

class DatabaseFaultTest : public FaultTest, public ::testing::WithParamInterface<DatabaseFault>
{
};

TEST_P(DatabaseFaultTest, NothingChangesAndTheUserIsToldWhy)
{
    const DatabaseFault& fault = GetParam();
    fault.inject(*this);
    if (HasFatalFailure())
        return;
    const TableSnapshot before = snapshotTables(watched);
    ASSERT_FALSE(before.isEmpty());
    const QLineEdit* count = searchAndDelete(fault.area);

    EXPECT_EQ(changedTables(before, snapshotTables(watched)), QStringList());
    EXPECT_NE(count->text(), "0"); // what was listed stays listed
    const QStringList failures = boxesTitled(WorkTexts::deleteFailedTitle);
    ASSERT_EQ(failures.size(), 1) << boxes.texts().join('|').toStdString();
    EXPECT_TRUE(failures[0].startsWith(OutcomeWords::deleteFailed));
    EXPECT_TRUE(failures[0].contains(fault.serverWords, Qt::CaseInsensitive))
        << failures[0].toStdString();
    const QString logged = logText();
    EXPECT_TRUE(logged.contains(QStringLiteral("실행실패! ")));
    EXPECT_TRUE(logged.contains(fault.serverWords, Qt::CaseInsensitive)) << logged.toStdString();
    EXPECT_TRUE(boxesTitled(WorkTexts::logFailedTitle).isEmpty());

    nextSearchLists(fault.area);
    if (fault.lift) {
        ASSERT_TRUE(other->run(fault.lift));
        const TableSnapshot ready = snapshotTables(watched);
        searchAndDelete(fault.area);
        EXPECT_EQ(changedTables(ready, snapshotTables(watched)), targeted(fault.area));
    }
}

void holdTheWriteLock(FaultTest& t)
{
    t.other = std::make_unique<OtherConnection>(t.dbPath());
    ASSERT_TRUE(t.other->run("BEGIN IMMEDIATE; CREATE TABLE lock_holder(x);"));
}

void failTheSecondStatement(FaultTest& t)
{
    t.other = std::make_unique<OtherConnection>(t.dbPath());
    ASSERT_TRUE(t.other->run("CREATE TRIGGER keep_credit BEFORE DELETE ON credit_temp "
                             "BEGIN SELECT RAISE(ABORT, '카드 승인 대기 중: 삭제 불가'); END;"));
}

// Gone from its place (as into the recycle bin); the data is watched where it went.
void deleteTheFile(FaultTest& t)
{
    t.watched = t.dbPath() + QStringLiteral(".deleted");
    ASSERT_TRUE(QFile::rename(t.dbPath(), t.watched));
}

const DatabaseFault databaseFaults[] = {
    {"LockedByWriter", OpenTables, QStringLiteral("locked"), holdTheWriteLock, "ROLLBACK"},
    // A delete trigger is the database's own: refused before anything is copied or deleted.
    {"DeleteTriggerOnSecondTable", PayCancel,
     QStringLiteral("삭제 트리거 keep_credit (credit_temp)"), failTheSecondStatement,
     "DROP TRIGGER keep_credit"},
    {"FileDeleted", Deliveries, QStringLiteral("readonly"), deleteTheFile},
};

INSTANTIATE_TEST_SUITE_P(Faults, DatabaseFaultTest, ::testing::ValuesIn(databaseFaults),
                         [](const auto& info) { return std::string(info.param.name); });

// A folder where the day's log file belongs (the archive beside it can still be written): the
// delete goes ahead and one box warns that the log missed it.
TEST_F(FaultTest, ALogFileThatCannotBeWrittenWarnsAfterTheDelete)
{
    ASSERT_TRUE(QDir().mkpath(logFile()));
    const TableSnapshot before = snapshotTables(watched);
    searchAndDelete(Deliveries);

    EXPECT_EQ(changedTables(before, snapshotTables(watched)), targeted(Deliveries));
    EXPECT_TRUE(boxesTitled(WorkTexts::deleteFailedTitle).isEmpty());
    const QStringList warnings = boxesTitled(WorkTexts::logFailedTitle);
    ASSERT_EQ(warnings.size(), 1) << boxes.texts().join('|').toStdString();
    EXPECT_TRUE(warnings[0].startsWith(OutcomeWords::logFailed));
    nextSearchLists(Deliveries);
}

} // namespace
