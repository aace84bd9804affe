#include "archive/ArchiveScript.h"
#include "archive/ArchiveVerifier.h"
#include "archive/ArchivedDelete.h"
#include "archive/RestoreArchive.h"
#include "db/Mod_DB.h"
#include "support/Files.h"
#include "support/FixtureDatabase.h"
#include "support/ManualClock.h"
#include "support/QueryText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <thread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#endif

namespace {

const QString unfinished = QStringLiteral("(DTD_STATUS < 3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y'");

// Every value written back exactly: storage class and all digits of a floating value.
const QString kindsSnapshot = QStringLiteral(
    "SELECT K, typeof(R), printf('%.17g', R), typeof(D), D, typeof(T), T, typeof(W), W, "
    "hex(B), typeof(B) FROM KINDS ORDER BY K");

ArchiveRequest deliveries(const QString& folder, Deletion deletion,
                          std::function<void(qint64)> progress = {})
{
    return {folder,
            "deliveries",
            QStringLiteral("배달전체삭제"),
            "POS-01 (192.168.0.10)",
            deletion,
            {},
            std::move(progress),
            {}};
}

DeletePlan unfinishedDeliveries()
{
    return DeletePlan::rows("DELETE FROM ", "DTD", "\r\n where ", unfinished);
}

// The kinds of value the demo tables lack: floating, binary, long and awkward texts.
const char* const kinds =
    "CREATE TABLE KINDS (K INTEGER PRIMARY KEY, R REAL, D NUMERIC(12,2), T VARCHAR(200), "
    "W DATETIME, B BLOB); INSERT INTO KINDS VALUES (1, 0.1, 12.5, '따옴표 '' ; -- /* \"이름\" "
    "[괄호]]', '2024-06-12 11:42:10', X'00FF10'), (2, NULL, NULL, NULL, NULL, NULL), (3, -1.5e300, "
    "38000, '%1', '2024-06-14 12:31:45.125', X''), (4, 2, 3, '남음', NULL, NULL)";

} // namespace

// The parameter: whether the backend under test goes through ODBC.
class Archive : public testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        const QString longText = QStringLiteral("긴 글;\r\n").repeated(4000);
        ASSERT_TRUE(m_check->DB_Execute(QString::fromUtf8(kinds).arg(longText)).succeeded)
            << m_check->DB_ErrText().toStdString();
    }

    QString snapshot(const QString& sql) { return queryText(*m_check, sql); }
    QString everything()
    {
        return snapshot(kindsSnapshot) + snapshot(QStringLiteral("SELECT * FROM DTD ORDER BY 1")) +
               snapshot(QStringLiteral("SELECT * FROM PE ORDER BY 1"));
    }
    QStringList archiveFiles() const
    {
        return QDir(m_request.folder).entryList(QDir::Files, QDir::Name);
    }

    FixtureDatabase m_fixture;
    QTemporaryDir m_dir;
    const std::unique_ptr<Mod_DB> m_check = m_fixture.connect(); // native, to compare states
    const std::unique_ptr<Mod_DB> m_db = GetParam() ? m_fixture.connectOdbc() : m_fixture.connect();
    ArchiveRequest m_request = deliveries(
        m_dir.filePath("archive"),
        {{unfinishedDeliveries(), DeletePlan::rows("DELETE FROM ", "KINDS", " WHERE ", "K <> 4")},
         ";\r\n"});
    ManualClock m_clock;
};

TEST_P(Archive, DeletedRowsComeBackExactlyAndOnlyOnce)
{
    const QString before = everything();
    const qint64 matching =
        record(*m_check, "SELECT count(*) FROM DTD WHERE " + unfinished).toLongLong();
    ASSERT_GT(matching, 0);

    const ArchivedDeleteOutcome deleted = deleteWithArchive(*m_db, m_request, m_clock);
    ASSERT_TRUE(deleted.succeeded) << deleted.error.toStdString();
    EXPECT_EQ(m_db->DB_Status(), 1);
    EXPECT_EQ(QFileInfo(deleted.archiveFile).fileName(), "20261206-093000-deliveries.sql");
    EXPECT_EQ(deleted.rowsDeleted, matching + 3);
    EXPECT_EQ(deleted.rowsPerTable, (RowsPerTable{{"DTD", matching}, {"KINDS", 3}}));
    EXPECT_EQ(snapshot(kindsSnapshot).count('\n'), 2) << "header and the kept row";
    const QByteArray bytes = fileBytes(deleted.archiveFile);
    const QString script = QString::fromUtf8(bytes);
    // Every line of the delete is a comment; the closing line seals every byte before it.
    EXPECT_TRUE(script.contains("--   DELETE FROM DTD\r\n--    where " + unfinished + ";\r\n"));
    const ArchiveCheck check = verifyArchive(bytes);
    EXPECT_TRUE(check.verified) << check.refusalText().toStdString();
    EXPECT_EQ(check.rowsPerTable, deleted.rowsPerTable);

    // The same second again: a new name beside the first file.
    ASSERT_TRUE(m_check->DB_Execute("INSERT INTO KINDS (K) VALUES (5)").succeeded);
    EXPECT_TRUE(deleteWithArchive(*m_db, m_request, m_clock).succeeded);
    EXPECT_EQ(archiveFiles(),
              QStringList({"20261206-093000-deliveries-2.sql", "20261206-093000-deliveries.sql"}));

    // One row back already: the whole restore fails and the rows before it stay out.
    ASSERT_TRUE(m_check->DB_Execute("INSERT INTO KINDS (K) VALUES (3)").succeeded);
    const QString withOne = everything();
    RestoreOutcome restored = restoreArchive(*m_db, {deleted.archiveFile, true});
    EXPECT_FALSE(restored.succeeded);
    EXPECT_TRUE(restored.error.contains(
        QStringLiteral("%1번째 줄의 문장이 실패했습니다: INSERT INTO KINDS").arg(matching + 15)))
        << restored.error.toStdString();
    EXPECT_EQ(everything(), withOne);
    EXPECT_EQ(m_db->DB_Status(), 0);

    ASSERT_TRUE(m_check->DB_Execute("DELETE FROM KINDS WHERE K = 3").succeeded);
    restored = restoreArchive(*m_db, {deleted.archiveFile, true});
    ASSERT_TRUE(restored.succeeded) << restored.error.toStdString();
    EXPECT_EQ(restored.rowsRestored, matching + 3);
    EXPECT_EQ(restored.rowsPerTable, deleted.rowsPerTable);
    EXPECT_EQ(everything(), before);

    restored = restoreArchive(*m_db, {deleted.archiveFile, true});
    EXPECT_FALSE(restored.succeeded);
    EXPECT_EQ(everything(), before);
}

TEST_P(Archive, NothingIsDeletedWithoutAFileAndNoFileWithoutADelete)
{
    const QString before = everything();
    const auto nothingChanged = [&](const ArchivedDeleteOutcome& outcome, bool archiveFailed,
                                    const QString& reason) {
        EXPECT_FALSE(outcome.succeeded);
        EXPECT_EQ(outcome.archiveFailed, archiveFailed);
        EXPECT_TRUE(outcome.error.contains(reason)) << outcome.error.toStdString();
        EXPECT_TRUE(outcome.archiveFile.isEmpty());
        EXPECT_TRUE(archiveFiles().isEmpty());
        EXPECT_EQ(m_db->DB_Status(), 0);
        EXPECT_EQ(everything(), before);
    };
    // A folder cannot be made under a regular file, whoever runs the test.
    ASSERT_TRUE(QFile(m_dir.filePath("blocker")).open(QIODevice::WriteOnly));
    ArchiveRequest request = m_request;
    request.folder = m_dir.filePath("blocker/archive");
    nothingChanged(deleteWithArchive(*m_db, request, m_clock), true,
                   QDir::toNativeSeparators(request.folder));

#ifdef Q_OS_UNIX
    // A full disk, as far as this process can tell: files may not grow past 4 KiB for a while.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const rlimit tiny{4096, old.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const ArchivedDeleteOutcome full = deleteWithArchive(*m_db, m_request, m_clock);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    nothingChanged(full, true, "20261206-093000-deliveries.sql.part");
    EXPECT_TRUE(full.error.contains(QString::fromLocal8Bit(std::strerror(EFBIG))));
#endif

    // The delete fails after its rows were archived: no file is left to restore.
    request = m_request;
    request.deletion.parts.back().deleteFrom = "DELETE FROM NO_SUCH_TABLE;\r\nDELETE FROM ";
    nothingChanged(deleteWithArchive(*m_db, request, m_clock), false, "NO_SUCH_TABLE");
}

INSTANTIATE_TEST_SUITE_P(Backends, Archive, testing::Bool(),
                         [](const auto& info) { return info.param ? "Odbc" : "Sqlite"; });

// A second program's insert, waiting up to busyMs for the lock.
int insertElsewhere(const QByteArray& path, int busyMs)
{
    sqlite3* other = nullptr;
    sqlite3_open(path.constData(), &other);
    sqlite3_busy_timeout(other, busyMs);
    const int rc = sqlite3_exec(
        other, "INSERT INTO DTD (DTD_SEQ, DTD_STATUS, DTD_CALGU) VALUES (987654, 1, 'N')", nullptr,
        nullptr, nullptr);
    sqlite3_close(other);
    return rc;
}

// A writer that comes between the copy and the delete waits for the commit; its row is then
// neither in the file nor deleted.
TEST(ArchiveLock, AWriterDuringTheDeleteWaitsAndItsRowSurvives)
{
    FixtureDatabase fixture;
    const std::unique_ptr<Mod_DB> db = fixture.connect();
    QTemporaryDir dir;
    const QByteArray path = fixture.path().toUtf8();
    int immediateRc = -1, waitingRc = -1;
    std::thread writer;
    const auto duringTheCopy = [&](qint64) {
        if (writer.joinable())
            return;
        immediateRc = insertElsewhere(path, 0);
        writer = std::thread([&] { waitingRc = insertElsewhere(path, 20000); });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    };
    ManualClock clock;
    const ArchivedDeleteOutcome outcome = deleteWithArchive(
        *db, deliveries(dir.filePath("archive"), {{unfinishedDeliveries()}, {}}, duringTheCopy),
        clock);
    ASSERT_TRUE(writer.joinable());
    writer.join();
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_EQ(immediateRc & 0xff, SQLITE_BUSY);
    EXPECT_EQ(waitingRc, SQLITE_OK);
    EXPECT_EQ(insertElsewhere(path, 0) & 0xff, SQLITE_CONSTRAINT); // the row is still there
    EXPECT_FALSE(fileBytes(outcome.archiveFile).contains("987654"));
    EXPECT_GT(outcome.rowsDeleted, 0);
}
