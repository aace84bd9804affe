// Faults injected under the real window on a demo database: a database the program cannot
// change, a log it cannot write, an IP.ini it cannot use. Whatever goes wrong, the data is either
// changed as the user asked or left exactly as it was, the user is told the truth, and the program
// goes on working.
#include "TableSnapshot.h"
#include "TinyFileSystem.h"
#include "app/Frm_Sweep_1.h"
#include "db/ActivityLog.h"
#include "db/Cp949.h"
#include "db/DemoDatabase.h"
#include "db/Mod_DB.h"
#include "maintenance/DeliveryArea.h"
#include "maintenance/OpenTableArea.h"
#include "maintenance/PayCancelArea.h"
#include "maintenance/WorkSteps.h"
#include "support/ManualClock.h"
#include "support/PosixOnly.h"
#include "support/ScriptedMessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>

namespace {

enum Area
{
    OpenTables = 0,
    PayCancel = 1,
    Deliveries = 2,
};

// The tables each area's delete empties or thins out.
QStringList targetedTables(Area area)
{
    switch (area) {
    case OpenTables:
        return {QStringLiteral("PE")};
    case PayCancel:
        return {QStringLiteral("AC_TEMP"), QStringLiteral("credit_temp"),
                QStringLiteral("pecash_temp")};
    case Deliveries:
        return {QStringLiteral("DTD")};
    }
    return {};
}

// A second connection to the same file, as another program on the POS computer would hold it.
class OtherConnection
{
public:
    explicit OtherConnection(const QString& file)
    {
        sqlite3_open_v2(file.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~OtherConnection() { sqlite3_close_v2(m_db); }
    OtherConnection(const OtherConnection&) = delete;
    OtherConnection& operator=(const OtherConnection&) = delete;

    QString run(const char* sql)
    {
        char* message = nullptr;
        const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
        const QString text = rc == SQLITE_OK ? QString() : QString::fromUtf8(message);
        sqlite3_free(message);
        return text;
    }

private:
    sqlite3* m_db = nullptr;
};

class FaultTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        window.reset();
        log.reset();
        db.reset();
    }

    void makeDatabase(const QString& file)
    {
        dbPath = file;
        QString error;
        ASSERT_TRUE(createDemoDatabase(file, {}, &error)) << error.toStdString();
    }

    void openWindow(const QString& logFolder)
    {
        db = std::make_unique<Mod_DB>(DbTarget::sqlite(dbPath));
        log = std::make_unique<ActivityLog>(logFolder, clock);
        window = std::make_unique<Frm_Sweep_1>(
            WorkContext{*db, *log, boxes, [] { return QStringLiteral("192.168.0.10"); }});
        ASSERT_TRUE(window->Form_Load()) << db->DB_ErrText().toStdString();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // What a user does: the area button, the search, then the delete with Yes to the question.
    void searchAndDelete(Area area)
    {
        click(window->cmd_Btn[size_t(area)]);
        switch (area) {
        case OpenTables:
            click(window->Frame_Table->cmd_TBSerch);
            ASSERT_NE(window->Frame_Table->TXT_COUNT_2->text(), QStringLiteral("0"));
            boxes.answer(true);
            click(window->Frame_Table->cmd_delete);
            break;
        case PayCancel:
            click(window->Frame_PayCancel->cmd_PaySerch);
            ASSERT_NE(window->Frame_PayCancel->TXT_COUNT_1->text(), QStringLiteral("0"));
            boxes.answer(true);
            click(window->Frame_PayCancel->cmd_payDelete);
            break;
        case Deliveries:
            click(window->Frame_DTD->cmd_DTD_Serch);
            ASSERT_NE(window->Frame_DTD->TXT_COUNT->text(), QStringLiteral("0"));
            boxes.answer(true);
            click(window->Frame_DTD->CMD_DTD_DELETE);
            break;
        }
    }

    QStringList boxesTitled(const QString& title) const
    {
        QStringList texts;
        for (const auto& shown : boxes.shown())
            if (shown.title == title)
                texts << shown.text;
        return texts;
    }

    QString logText(const QString& folder) const
    {
        QFile file(QDir(folder).filePath(clock.now().date().toString("yyyyMMdd") + ".TXT"));
        return file.open(QIODevice::ReadOnly) ? Cp949::decode(file.readAll()) : QString();
    }

    QTemporaryDir dir;
    QString dbPath;
    ManualClock clock;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<Mod_DB> db;
    std::unique_ptr<ActivityLog> log;
    std::unique_ptr<Frm_Sweep_1> window;
};

// ---- The database refuses the delete ------------------------------------------------------

struct DatabaseFault
{
    const char* name;
    Area area;
    // Words of the server's error that the box and the log must carry.
    QString serverWords;
    // Whether the same delete succeeds once the fault is lifted (without a restart).
    bool deleteWorksAfterwards;
};

class DatabaseFaultTest : public FaultTest, public ::testing::WithParamInterface<DatabaseFault>
{
protected:
    // Each fault is made before or after the window opens, as it would happen in a shop.
    void injectAndOpen(const QString& name);
    void lift(const QString& name);

    // Every copy of the data the fault leaves: the file the window opened, wherever it went.
    TableSnapshot snapshotAll() const
    {
        TableSnapshot all;
        for (const QString& file : m_watched) {
            const TableSnapshot one = snapshotTables(file);
            for (auto it = one.cbegin(); it != one.cend(); ++it)
                all.insert(QFileInfo(file).fileName() + QLatin1Char('.') + it.key(), it.value());
        }
        return all;
    }

    std::unique_ptr<TinyFileSystem> m_disk;
    std::unique_ptr<OtherConnection> m_other;
    QStringList m_watched;
};

void DatabaseFaultTest::injectAndOpen(const QString& name)
{
    const QString logFolder = dir.filePath(QStringLiteral("DB_Log"));
    if (name == QLatin1String("ReadOnlyFile")) {
        if (!runsAsRoot()) {
            makeDatabase(dir.filePath(QStringLiteral("pos.sqlite")));
            ASSERT_TRUE(QFile::setPermissions(dbPath, QFileDevice::ReadOwner));
        } else {
            // Root writes any file whatever its mode; a read-only file system stops it.
            m_disk = std::make_unique<TinyFileSystem>(4 << 20);
            if (!m_disk->isMounted())
                GTEST_SKIP() << m_disk->reason().toStdString();
            makeDatabase(m_disk->filePath(QStringLiteral("pos.sqlite")));
            ASSERT_TRUE(m_disk->setReadOnly(true));
        }
        m_watched << dbPath;
        openWindow(logFolder);
        return;
    }
    makeDatabase(dir.filePath(QStringLiteral("pos.sqlite")));
    m_watched << dbPath;
    openWindow(logFolder);
    if (name == QLatin1String("LockedByWriter")) {
        m_other = std::make_unique<OtherConnection>(dbPath);
        // Readers may go on; a second writer waits for the busy time-out and gives up.
        ASSERT_EQ(m_other->run("BEGIN IMMEDIATE; CREATE TABLE lock_holder(x);"), QString());
    } else if (name == QLatin1String("FileDeleted")) {
        SKIP_ON_WINDOWS("an open file cannot be moved");
        // Gone from its place (as into the recycle bin); the data is watched where it went.
        const QString away = dir.filePath(QStringLiteral("pos.sqlite.deleted"));
        ASSERT_TRUE(QFile::rename(dbPath, away));
        m_watched = QStringList{away};
    } else if (name == QLatin1String("FileReplaced")) {
        SKIP_ON_WINDOWS("an open file cannot be replaced");
        // A second name keeps the replaced file's data readable for the comparison.
        const QString original = dir.filePath(QStringLiteral("pos.sqlite.original"));
        std::error_code error;
        std::filesystem::create_hard_link(dbPath.toStdU16String(), original.toStdU16String(),
                                          error);
        ASSERT_FALSE(error) << error.message();
        m_watched = QStringList{original, dbPath};
        const QString other = dir.filePath(QStringLiteral("other.sqlite"));
        QString failure;
        ASSERT_TRUE(createDemoDatabase(other, {}, &failure)) << failure.toStdString();
        std::filesystem::rename(other.toStdU16String(), dbPath.toStdU16String(), error);
        ASSERT_FALSE(error) << error.message();
    } else if (name == QLatin1String("TriggerFailsSecondStatement")) {
        m_other = std::make_unique<OtherConnection>(dbPath);
        ASSERT_EQ(m_other->run("CREATE TRIGGER keep_credit BEFORE DELETE ON credit_temp "
                               "BEGIN SELECT RAISE(ABORT, '카드 승인 대기 중: 삭제 불가'); END;"),
                  QString());
    }
}

void DatabaseFaultTest::lift(const QString& name)
{
    if (name == QLatin1String("LockedByWriter")) {
        ASSERT_EQ(m_other->run("ROLLBACK"), QString());
    } else if (name == QLatin1String("TriggerFailsSecondStatement")) {
        ASSERT_EQ(m_other->run("DROP TRIGGER keep_credit"), QString());
    }
}

TEST_P(DatabaseFaultTest, DeleteLeavesEveryRowShowsTheServersWordsAndTheNextOperationWorks)
{
    const DatabaseFault fault = GetParam();
    const QString name = QString::fromLatin1(fault.name);
    injectAndOpen(name);
    if (IsSkipped() || HasFatalFailure())
        return;
    const TableSnapshot before = snapshotAll();
    ASSERT_FALSE(before.isEmpty());

    searchAndDelete(fault.area);

    EXPECT_EQ(changedTables(before, snapshotAll()), QStringList());
    const QStringList failures = boxesTitled(WorkTexts::deleteFailedTitle);
    ASSERT_EQ(failures.size(), 1) << boxes.texts().join('|').toStdString();
    EXPECT_TRUE(failures[0].startsWith(WorkTexts::deleteFailed));
    EXPECT_TRUE(failures[0].contains(fault.serverWords, Qt::CaseInsensitive))
        << failures[0].toStdString();
    const QString logged = logText(dir.filePath(QStringLiteral("DB_Log")));
    EXPECT_TRUE(logged.contains(QStringLiteral("실행실패! "))) << logged.toStdString();
    EXPECT_TRUE(logged.contains(fault.serverWords, Qt::CaseInsensitive)) << logged.toStdString();
    EXPECT_TRUE(boxesTitled(WorkTexts::logFailedTitle).isEmpty());
    EXPECT_TRUE(window->isVisible());

    // The next operation: a search of another area lists its rows.
    boxes.clear();
    const Area other = fault.area == Deliveries ? OpenTables : Deliveries;
    click(window->cmd_Btn[size_t(other)]);
    click(other == Deliveries ? window->Frame_DTD->cmd_DTD_Serch
                              : window->Frame_Table->cmd_TBSerch);
    EXPECT_TRUE(boxesTitled(WorkTexts::searchFailedTitle).isEmpty())
        << boxes.texts().join('|').toStdString();
    const QLineEdit* count =
        other == Deliveries ? window->Frame_DTD->TXT_COUNT : window->Frame_Table->TXT_COUNT_2;
    EXPECT_GT(count->text().toInt(), 0);

    if (!fault.deleteWorksAfterwards)
        return;
    lift(name);
    boxes.clear();
    const TableSnapshot ready = snapshotTables(dbPath);
    searchAndDelete(fault.area);
    EXPECT_TRUE(boxesTitled(WorkTexts::deleteFailedTitle).isEmpty())
        << boxes.texts().join('|').toStdString();
    QStringList expected = targetedTables(fault.area);
    expected.sort();
    QStringList changed = changedTables(ready, snapshotTables(dbPath));
    changed.sort();
    EXPECT_EQ(changed, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DatabaseFaultTest,
    ::testing::Values(DatabaseFault{"ReadOnlyFile", PayCancel, QStringLiteral("readonly"), false},
                      DatabaseFault{"LockedByWriter", OpenTables, QStringLiteral("locked"), true},
                      DatabaseFault{"FileDeleted", Deliveries, QStringLiteral("readonly"), false},
                      DatabaseFault{"FileReplaced", OpenTables, QStringLiteral("readonly"), false},
                      DatabaseFault{"TriggerFailsSecondStatement", PayCancel,
                                    QStringLiteral("카드 승인 대기 중: 삭제 불가"), true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The log cannot be written --------------------------------------------------------------

struct LogFault
{
    const char* name;
    bool needsMount;
};

class LogFaultTest : public FaultTest, public ::testing::WithParamInterface<LogFault>
{
protected:
    std::unique_ptr<TinyFileSystem> m_disk;
};

TEST_P(LogFaultTest, DeleteStillHappensAndTheUserIsWarned)
{
    const LogFault fault = GetParam();
    const QString name = QString::fromLatin1(fault.name);
    QString logFolder;
    if (fault.needsMount) {
        m_disk = std::make_unique<TinyFileSystem>(64 * 1024);
        if (!m_disk->isMounted())
            GTEST_SKIP() << m_disk->reason().toStdString();
        logFolder = m_disk->filePath(QStringLiteral("DB_Log"));
    }
    if (name == QLatin1String("FolderNotCreatable")) {
        // Only the folder itself is ever made, never a missing parent.
        logFolder = dir.filePath(QStringLiteral("없는드라이브/DB_Log"));
    } else if (name == QLatin1String("FileWhereTheFolderBelongs")) {
        logFolder = dir.filePath(QStringLiteral("DB_Log"));
        QFile blocker(logFolder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
    } else if (name == QLatin1String("ParentReadOnly")) {
        ASSERT_TRUE(m_disk->setReadOnly(true));
    } else if (name == QLatin1String("DiskFull")) {
        ASSERT_TRUE(QDir().mkdir(logFolder));
        ASSERT_TRUE(m_disk->fill());
    }
    makeDatabase(dir.filePath(QStringLiteral("pos.sqlite")));
    openWindow(logFolder);
    if (HasFatalFailure())
        return;

    for (const Area area : {OpenTables, PayCancel, Deliveries}) {
        SCOPED_TRACE(int(area));
        boxes.clear();
        const TableSnapshot before = snapshotTables(dbPath);
        searchAndDelete(area);

        QStringList changed = changedTables(before, snapshotTables(dbPath));
        changed.sort();
        QStringList expected = targetedTables(area);
        expected.sort();
        EXPECT_EQ(changed, expected);
        EXPECT_TRUE(boxesTitled(WorkTexts::deleteFailedTitle).isEmpty());
        const QStringList warnings = boxesTitled(WorkTexts::logFailedTitle);
        ASSERT_EQ(warnings.size(), 1) << boxes.texts().join('|').toStdString();
        EXPECT_TRUE(warnings[0].startsWith(WorkTexts::logFailed));
        EXPECT_EQ(boxes.shown().back().icon, MessageBoxes::Icon::Warning);
    }
    EXPECT_TRUE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Faults, LogFaultTest,
                         ::testing::Values(LogFault{"FolderNotCreatable", false},
                                           LogFault{"FileWhereTheFolderBelongs", false},
                                           LogFault{"ParentReadOnly", true},
                                           LogFault{"DiskFull", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- IP.ini cannot be used as it stands --------------------------------------------------------

struct IniFault
{
    const char* name;
    std::function<bool(const QString& path)> make; // false when the row does not apply here
    QString expectedDbName;
};

QByteArray cp949(const char* utf8)
{
    return Cp949::encode(QString::fromUtf8(utf8));
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray garbage(qsizetype size)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator random(8);
    for (char& b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

class IniFaultTest : public FaultTest, public ::testing::WithParamInterface<IniFault>
{
};

TEST_P(IniFaultTest, StartsWithTheDefaultOrTheReadableNameAndReportsTheMissingServer)
{
    const IniFault fault = GetParam();
    const QString ini = dir.filePath(QStringLiteral("IP.ini"));
    if (!fault.make(ini))
        GTEST_SKIP() << "root (and Windows) reads a file whatever its mode; the folder row "
                        "covers an unreadable IP.ini";
    QFile original(ini);
    const QByteArray before =
        original.open(QIODevice::ReadOnly) ? original.readAll() : QByteArray();
    original.close();

    // No SQL Server listens here, so the start ends in the connection error after reading IP.ini.
    db = std::make_unique<Mod_DB>(DbTarget::sqlServer(ini));
    log = std::make_unique<ActivityLog>(dir.filePath(QStringLiteral("DB_Log")), clock);
    window = std::make_unique<Frm_Sweep_1>(
        WorkContext{*db, *log, boxes, [] { return QStringLiteral("192.168.0.10"); }});
    EXPECT_FALSE(window->Form_Load());

    EXPECT_TRUE(db->DB_ConnStr().contains(QStringLiteral(";DATABASE=") + fault.expectedDbName +
                                          QStringLiteral(";")))
        << db->DB_ConnStr().left(400).toStdString();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].icon, MessageBoxes::Icon::Critical);
    EXPECT_TRUE(logText(dir.filePath(QStringLiteral("DB_Log"))).contains("DB접속실패!"));

    // Whatever was there stays: a folder stays a folder, a file keeps every byte it had.
    if (QFileInfo(ini).isDir())
        return;
    QFile after(ini);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_TRUE(after.readAll().startsWith(before));
}

const QString koreanName = QString(127, QChar(0xAC00)); // 가 × 127 = 254 bytes in CP949

INSTANTIATE_TEST_SUITE_P(
    Faults, IniFaultTest,
    ::testing::Values(
        IniFault{"FolderInsteadOfFile", [](const QString& p) { return QDir().mkdir(p); },
                 QStringLiteral("FOOD")},
        IniFault{"Unreadable",
                 [](const QString& p) {
                     return fileModesBindUs() &&
                            writeFile(p, cp949("[로컬ip]\r\nDBNAME=POS\r\n")) &&
                            QFile::setPermissions(p, {});
                 },
                 QStringLiteral("FOOD")},
        IniFault{"OneMegabyteValue",
                 [](const QString& p) {
                     return writeFile(p, cp949("[로컬ip]\r\nDBNAME=") +
                                             cp949("가").repeated(512 * 1024) + "\r\n");
                 },
                 koreanName},
        IniFault{"OneMegabyteWithoutLineEnd",
                 [](const QString& p) { return writeFile(p, QByteArray(1 << 20, 'x')); },
                 QStringLiteral("FOOD")},
        IniFault{"BinaryGarbage", [](const QString& p) { return writeFile(p, garbage(64 * 1024)); },
                 QStringLiteral("FOOD")},
        IniFault{"Utf8WithByteOrderMark",
                 [](const QString& p) {
                     return writeFile(p, QByteArray("\xEF\xBB\xBF[로컬ip]\r\nDBNAME=POS\r\n"));
                 },
                 QStringLiteral("FOOD")},
        IniFault{
            "Cp949AsItShouldBe",
            [](const QString& p) { return writeFile(p, cp949("[로컬ip]\r\nDBNAME= 매장DB \r\n")); },
            QStringLiteral("매장DB")}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
