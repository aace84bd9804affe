// Faults injected under the real window on a demo database: a database the program cannot change,
// a log it cannot write. Whatever goes wrong, the data is either changed as the user asked or left
// exactly as it was, the user is told the truth, and the program goes on working.
#include "MaintenanceWindowFixture.h"
#include "TableSnapshot.h"
#include "db/Cp949.h"
#include "maintenance/DeliveryArea.h"
#include "maintenance/OpenTableArea.h"
#include "maintenance/PayCancelArea.h"
#include "maintenance/WorkSteps.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace {

enum Area
{
    OpenTables,
    PayCancel,
    Deliveries,
};

// The tables each area's delete empties or thins out.
QStringList targetedTables(Area area)
{
    if (area == PayCancel)
        return {QStringLiteral("AC_TEMP"), QStringLiteral("credit_temp"),
                QStringLiteral("pecash_temp")};
    return {area == OpenTables ? QStringLiteral("PE") : QStringLiteral("DTD")};
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

class FaultTest;

struct Fault
{
    const char* name;
    Area area;
    QString serverWords; // empty: a log fault, and the delete goes ahead
    std::function<void(FaultTest&)> inject;
    const char* lift = nullptr; // the statement that lifts the fault, where one does
};

class FaultTest : public MaintenanceWindowFixture, public ::testing::WithParamInterface<Fault>
{
public:
    using MaintenanceWindowFixture::dbPath;
    using MaintenanceWindowFixture::logFolder;
    // The window starts on a log folder of the fault's choosing.
    void SetUp() override {}
    void open()
    {
        MaintenanceWindowFixture::SetUp();
        watched = dbPath();
    }

    void searchAndDelete(Area area)
    {
        click(window->cmd_Btn[size_t(area)]);
        const std::pair<QPushButton*, QPushButton*> buttons[] = {
            {window->Frame_Table->cmd_TBSerch, window->Frame_Table->cmd_delete},
            {window->Frame_PayCancel->cmd_PaySerch, window->Frame_PayCancel->cmd_payDelete},
            {window->Frame_DTD->cmd_DTD_Serch, window->Frame_DTD->CMD_DTD_DELETE}};
        click(buttons[area].first);
        boxes.answer(true);
        click(buttons[area].second);
    }

    QStringList boxesTitled(const QString& title) const
    {
        QStringList texts;
        for (const auto& shown : boxes.shown())
            if (shown.title == title)
                texts << shown.text;
        return texts;
    }

    QString watched; // where the window's data is, wherever the fault moved it
    std::unique_ptr<OtherConnection> other;
};

QString FaultTest_logText(const QString& folder)
{
    QFile file(QDir(folder).filePath(QStringLiteral("20261206.TXT")));
    return file.open(QIODevice::ReadOnly) ? Cp949::decode(file.readAll()) : QString();
}

TEST_P(FaultTest, DataChangesAsAskedOrNotAtAllAndTheUserIsTold)
{
    const Fault& fault = GetParam();
    fault.inject(*this);
    if (HasFatalFailure())
        return;
    const TableSnapshot before = snapshotTables(watched);
    ASSERT_FALSE(before.isEmpty());
    searchAndDelete(fault.area);

    QStringList changed = changedTables(before, snapshotTables(watched));
    changed.sort();
    QStringList targeted = targetedTables(fault.area);
    targeted.sort();
    const QStringList failures = boxesTitled(WorkTexts::deleteFailedTitle);
    const QStringList warnings = boxesTitled(WorkTexts::logFailedTitle);
    if (fault.serverWords.isEmpty()) {
        EXPECT_EQ(changed, targeted);
        EXPECT_TRUE(failures.isEmpty());
        ASSERT_EQ(warnings.size(), 1) << boxes.texts().join('|').toStdString();
        EXPECT_TRUE(warnings[0].startsWith(WorkTexts::logFailed));
    } else {
        EXPECT_EQ(changed, QStringList());
        ASSERT_EQ(failures.size(), 1) << boxes.texts().join('|').toStdString();
        EXPECT_TRUE(failures[0].startsWith(WorkTexts::deleteFailed));
        EXPECT_TRUE(failures[0].contains(fault.serverWords, Qt::CaseInsensitive))
            << failures[0].toStdString();
        const QString logged = FaultTest_logText(logFolder());
        EXPECT_TRUE(logged.contains(QStringLiteral("실행실패! ")));
        EXPECT_TRUE(logged.contains(fault.serverWords, Qt::CaseInsensitive))
            << logged.toStdString();
        EXPECT_TRUE(warnings.isEmpty());
    }

    // The next operation: another area's search lists its rows.
    boxes.clear();
    const bool deliveries = fault.area != Deliveries;
    click(window->cmd_Btn[deliveries ? 2 : 0]);
    click(deliveries ? window->Frame_DTD->cmd_DTD_Serch : window->Frame_Table->cmd_TBSerch);
    EXPECT_TRUE(boxesTitled(WorkTexts::searchFailedTitle).isEmpty());
    EXPECT_GT((deliveries ? window->Frame_DTD->TXT_COUNT : window->Frame_Table->TXT_COUNT_2)
                  ->text()
                  .toInt(),
              0);

    if (fault.lift) {
        ASSERT_TRUE(other->run(fault.lift));
        const TableSnapshot ready = snapshotTables(watched);
        searchAndDelete(fault.area);
        changed = changedTables(ready, snapshotTables(watched));
        changed.sort();
        EXPECT_EQ(changed, targeted);
    }
}

void holdTheWriteLock(FaultTest& t)
{
    t.open();
    t.other = std::make_unique<OtherConnection>(t.dbPath());
    ASSERT_TRUE(t.other->run("BEGIN IMMEDIATE; CREATE TABLE lock_holder(x);"));
}

void failTheSecondStatement(FaultTest& t)
{
    t.open();
    t.other = std::make_unique<OtherConnection>(t.dbPath());
    ASSERT_TRUE(t.other->run("CREATE TRIGGER keep_credit BEFORE DELETE ON credit_temp "
                             "BEGIN SELECT RAISE(ABORT, '카드 승인 대기 중: 삭제 불가'); END;"));
}

// Gone from its place (as into the recycle bin); the data is watched where it went.
void deleteTheFile(FaultTest& t)
{
    t.open();
    t.watched = t.dbPath() + QStringLiteral(".deleted");
    ASSERT_TRUE(QFile::rename(t.dbPath(), t.watched));
}

// A folder where the day's log file belongs; the archive beside it can still be written.
void blockTheLogFile(FaultTest& t)
{
    t.open();
    ASSERT_TRUE(QDir().mkpath(t.logFolder() + QStringLiteral("/20261206.TXT")));
}

const Fault faults[] = {
    {"LockedByWriter", OpenTables, QStringLiteral("locked"), holdTheWriteLock, "ROLLBACK"},
    {"TriggerFailsSecondStatement", PayCancel, QStringLiteral("카드 승인 대기 중: 삭제 불가"),
     failTheSecondStatement, "DROP TRIGGER keep_credit"},
    {"FileDeleted", Deliveries, QStringLiteral("readonly"), deleteTheFile},
    {"LogFileCannotBeWritten", Deliveries, {}, blockTheLogFile},
};

INSTANTIATE_TEST_SUITE_P(Faults, FaultTest, ::testing::ValuesIn(faults),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
