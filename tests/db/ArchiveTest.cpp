#include "db/ArchiveScript.h"
#include "db/ArchivedDelete.h"
#include "db/Mod_DB.h"
#include "db/RestoreArchive.h"
#include "support/FixtureDatabase.h"
#include "support/ManualClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <thread>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

enum class ArchiveBackend
{
    Sqlite,
    Odbc,
};

namespace {

const QString unfinished = QStringLiteral("(DTD_STATUS < 3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y'");

// Every value written back exactly: storage class and all digits of a floating value.
const QString kindsSnapshot = QStringLiteral(
    "SELECT K, typeof(R), printf('%.17g', R), typeof(D), D, typeof(T), T, typeof(W), W, "
    "hex(B), typeof(B) FROM KINDS ORDER BY K");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class Archive : public testing::TestWithParam<ArchiveBackend>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_fixture.isValid()) << m_fixture.error().toStdString();
        m_check = m_fixture.connect();
        // The kinds of value the demo tables lack: floating, binary, long and awkward texts.
        const QString longText = QStringLiteral("긴 글;\r\n").repeated(4000);
        ASSERT_TRUE(m_check
                        ->DB_Execute(QStringLiteral(
                                         "CREATE TABLE KINDS (K INTEGER PRIMARY KEY, R REAL, "
                                         "D NUMERIC(12,2), T VARCHAR(200), W DATETIME, B BLOB);"
                                         "INSERT INTO KINDS VALUES (1, 0.1, 12.5, '따옴표 '' ; -- "
                                         "/* \"이름\" [괄호]]', '2024-06-12 11:42:10', X'00FF10');"
                                         "INSERT INTO KINDS VALUES (2, NULL, NULL, NULL, NULL, "
                                         "NULL);INSERT INTO KINDS VALUES (3, -1.5e300, 38000, '") +
                                     longText +
                                     QStringLiteral("', '2024-06-14 12:31:45.125', X'');"
                                                    "INSERT INTO KINDS VALUES (4, 2, 3, '남음', "
                                                    "NULL, NULL)"))
                        .succeeded)
            << m_check->DB_ErrText().toStdString();
        m_db = GetParam() == ArchiveBackend::Sqlite ? m_fixture.connect() : m_fixture.connectOdbc();
        m_request = {m_dir.filePath(QStringLiteral("archive")),
                     QStringLiteral("deliveries"),
                     QStringLiteral("배달전체삭제"),
                     QStringLiteral("192.168.0.10"),
                     QStringLiteral("FOOD"),
                     QStringLiteral("DELETE FROM DTD\r\n where ") + unfinished +
                         QStringLiteral(";\r\nDELETE FROM KINDS WHERE K <> 4"),
                     {{QStringLiteral("DTD"), unfinished}, {QStringLiteral("KINDS"), "K <> 4"}},
                     {}};
    }

    QString snapshot(const QString& sql)
    {
        TextTable t;
        qint32 rows = 0, cols = 0;
        EXPECT_TRUE(m_check->DB_Query(sql, t, rows, cols).succeeded) << sql.toStdString();
        QString out;
        for (int r = 0; r <= rows; ++r)
            for (int c = 0; c < cols; ++c)
                out += t.cell(r, c) + (c + 1 < cols ? u'|' : u'\n');
        return out;
    }
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
    std::unique_ptr<Mod_DB> m_check; // always the native connection, to compare states
    std::unique_ptr<Mod_DB> m_db;    // the backend under test
    ArchiveRequest m_request;
    ManualClock m_clock;
};

TEST_P(Archive, DeletedRowsComeBackExactlyAndOnlyOnce)
{
    const QString before = everything();
    const qint64 matching = snapshot(QStringLiteral("SELECT count(*) FROM DTD WHERE ") + unfinished)
                                .section('\n', 1, 1)
                                .toLongLong();
    ASSERT_GT(matching, 0);

    const ArchivedDeleteOutcome deleted = archivedDelete(*m_db, m_request, m_clock);
    ASSERT_TRUE(deleted.succeeded) << deleted.error.toStdString();
    EXPECT_EQ(m_db->DB_Status(), 1);
    EXPECT_EQ(QFileInfo(deleted.archiveFile).fileName(), "20261206-093000-deliveries.sql");
    EXPECT_EQ(deleted.rowsDeleted, matching + 3);
    EXPECT_EQ(deleted.rowsPerTable, (RowsPerTable{{"DTD", matching}, {"KINDS", 3}}));
    EXPECT_EQ(snapshot(kindsSnapshot).count('\n'), 2) << "header and the kept row";
    const QByteArray bytes = readAll(deleted.archiveFile);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" +
                                 ArchiveScript::firstLine(Dialect::Sqlite).toUtf8() + "\r\n"));
    const QString script = QString::fromUtf8(bytes);
    EXPECT_TRUE(script.contains("--   DELETE FROM DTD\r\n--    where " + unfinished + ";\r\n"));
    EXPECT_TRUE(script.contains(ArchiveScript::rowCountLine("DTD", matching)));

    // The same second again: a new name beside the first file.
    EXPECT_TRUE(archivedDelete(*m_db, m_request, m_clock).succeeded);
    EXPECT_EQ(archiveFiles(),
              QStringList({"20261206-093000-deliveries-2.sql", "20261206-093000-deliveries.sql"}));

    // One row back already: the whole restore fails and the rows before it stay out.
    const QString afterDelete = everything();
    ASSERT_TRUE(m_check->DB_Execute("INSERT INTO KINDS (K) VALUES (3)").succeeded);
    const QString withOne = everything();
    RestoreOutcome restored = restoreArchive(*m_db, deleted.archiveFile);
    EXPECT_FALSE(restored.succeeded);
    EXPECT_TRUE(restored.error.contains(QStringLiteral("%1번째 문장").arg(matching + 3)))
        << restored.error.toStdString();
    EXPECT_TRUE(restored.error.contains("INSERT INTO KINDS")) << restored.error.toStdString();
    EXPECT_EQ(everything(), withOne);
    EXPECT_EQ(m_db->DB_Status(), 0);

    ASSERT_TRUE(m_check->DB_Execute("DELETE FROM KINDS WHERE K = 3").succeeded);
    ASSERT_EQ(everything(), afterDelete);
    restored = restoreArchive(*m_db, deleted.archiveFile);
    ASSERT_TRUE(restored.succeeded) << restored.error.toStdString();
    EXPECT_EQ(restored.rowsRestored, matching + 3);
    EXPECT_EQ(restored.rowsPerTable, deleted.rowsPerTable);
    EXPECT_EQ(everything(), before);

    restored = restoreArchive(*m_db, deleted.archiveFile);
    EXPECT_FALSE(restored.succeeded);
    EXPECT_EQ(everything(), before);
}

TEST_P(Archive, NothingIsDeletedWithoutAFileAndNoFileWithoutADelete)
{
    const QString before = everything();
    // A folder cannot be made under a regular file, whoever runs the test.
    QFile blocker(m_dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ArchiveRequest request = m_request;
    request.folder = m_dir.filePath("blocker/archive");
    ArchivedDeleteOutcome outcome = archivedDelete(*m_db, request, m_clock);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.archiveFailed);
    EXPECT_TRUE(outcome.archiveError.contains(QDir::toNativeSeparators(request.folder)))
        << outcome.archiveError.toStdString();
    EXPECT_EQ(m_db->DB_Status(), 0);
    EXPECT_EQ(everything(), before);

#ifdef Q_OS_UNIX
    // A full disk, as far as this process can tell: files may not grow past 4 KiB for a while.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = old;
    tiny.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    outcome = archivedDelete(*m_db, m_request, m_clock);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.archiveFailed);
    EXPECT_TRUE(outcome.archiveError.contains("20261206-093000-deliveries.sql"))
        << outcome.archiveError.toStdString();
    EXPECT_TRUE(archiveFiles().isEmpty());
    EXPECT_EQ(everything(), before);
#endif

    // The delete fails after its rows were archived: no file is left to restore.
    request = m_request;
    request.deleteStatement += QStringLiteral(";\r\nDELETE FROM NO_SUCH_TABLE");
    outcome = archivedDelete(*m_db, request, m_clock);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_FALSE(outcome.archiveFailed);
    EXPECT_TRUE(outcome.error.contains("NO_SUCH_TABLE")) << outcome.error.toStdString();
    EXPECT_TRUE(outcome.archiveFile.isEmpty());
    EXPECT_TRUE(archiveFiles().isEmpty());
    EXPECT_EQ(everything(), before);
}

TEST_P(Archive, RestoreRefusesFilesNotOursOrOfAnotherDatabase)
{
    const QString before = everything();
    const auto restoreText = [&](const QByteArray& text) {
        const QString path = m_dir.filePath("other.sql");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.close();
        return restoreArchive(*m_db, path);
    };
    for (const QByteArray& text :
         {QByteArray("DELETE FROM PE;\r\n"),
          (ArchiveScript::firstLine(Dialect::SqlServer) + "\r\nDELETE FROM PE;\r\n").toUtf8()}) {
        const RestoreOutcome outcome = restoreText(text);
        EXPECT_FALSE(outcome.succeeded);
        EXPECT_TRUE(outcome.error.contains("other.sql")) << outcome.error.toStdString();
    }
    EXPECT_EQ(everything(), before);
}

INSTANTIATE_TEST_SUITE_P(Backends, Archive,
                         testing::Values(ArchiveBackend::Sqlite, ArchiveBackend::Odbc),
                         [](const auto& info) {
                             return info.param == ArchiveBackend::Sqlite ? "Sqlite" : "Odbc";
                         });

// A writer that comes between the copy and the delete waits for the commit; its row is then
// neither in the file nor deleted.
TEST(ArchiveLock, AWriterDuringTheDeleteWaitsAndItsRowSurvives)
{
    FixtureDatabase fixture;
    ASSERT_TRUE(fixture.isValid());
    const std::unique_ptr<Mod_DB> db = fixture.connect();
    QTemporaryDir dir;
    const QByteArray path = fixture.path().toUtf8();
    const char* insert = "INSERT INTO DTD (DTD_SEQ, DTD_STATUS, DTD_CALGU) VALUES (987654, 1, 'N')";
    int immediateRc = -1;
    int waitingRc = -1;
    std::thread writer;
    ArchiveRequest request{dir.filePath("archive"),
                           "deliveries",
                           "배달전체삭제",
                           "127.0.0.1",
                           "FOOD",
                           "DELETE FROM DTD where " + unfinished,
                           {{"DTD", unfinished}},
                           [&](qint64) {
                               if (writer.joinable())
                                   return;
                               sqlite3* other = nullptr;
                               sqlite3_open(path.constData(), &other);
                               immediateRc = sqlite3_exec(other, insert, nullptr, nullptr, nullptr);
                               sqlite3_close(other);
                               writer = std::thread([&] {
                                   sqlite3* waiting = nullptr;
                                   sqlite3_open(path.constData(), &waiting);
                                   sqlite3_busy_timeout(waiting, 20000);
                                   waitingRc =
                                       sqlite3_exec(waiting, insert, nullptr, nullptr, nullptr);
                                   sqlite3_close(waiting);
                               });
                               std::this_thread::sleep_for(std::chrono::milliseconds(200));
                           }};
    ManualClock clock;
    const ArchivedDeleteOutcome outcome = archivedDelete(*db, request, clock);
    ASSERT_TRUE(writer.joinable());
    writer.join();
    ASSERT_TRUE(outcome.succeeded) << outcome.error.toStdString();
    EXPECT_EQ(immediateRc & 0xff, SQLITE_BUSY);
    EXPECT_EQ(waitingRc, SQLITE_OK);
    TextTable t;
    qint32 rows = 0, cols = 0;
    db->DB_Query("SELECT count(*) FROM DTD WHERE DTD_SEQ = 987654", t, rows, cols);
    EXPECT_EQ(t.cell(1, 0), "1");
    EXPECT_FALSE(readAll(outcome.archiveFile).contains("987654"));
    EXPECT_GT(outcome.rowsDeleted, 0);
}
