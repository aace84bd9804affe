#include "archive/ArchiveUpkeep.h"
#include "archive/ArchivedDelete.h"
#include "archive/RestoreArchive.h"
#include "support/Files.h"
#include "support/FixtureDatabase.h"
#include "support/ManualClock.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

const QString unfinished = QStringLiteral("(DTD_STATUS < 3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y'");

ArchiveRequest request(const QString& folder, const DeletePlan& part)
{
    return {folder, "deliveries", "배달전체삭제", "POS-01 (192.0.2.2)", {{part}, {}}, {}, {}, {}};
}

QStringList files(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

using Kind = ArchiveUpkeep::Settled::Kind;

// The program dies at each moment of a delete. The next start leaves either every row in place
// and no archive, or the rows gone and exactly one finished archive that puts them back.
class KilledDelete : public testing::TestWithParam<ArchiveStep>
{
};

TEST_P(KilledDelete, TheNextStartSettlesWhatItLeft)
{
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "the delete runs in a child process made with fork";
#else
    FixtureDatabase fixture;
    QTemporaryDir dir;
    const QString folder = dir.filePath("archive");
    const QString deliveries = QStringLiteral("SELECT * FROM DTD ORDER BY 1");
    const QString before = queryText(*fixture.connect(), deliveries);
    const pid_t child = fork();
    if (child == 0) {
        Mod_DB db(DbTarget::sqlite(fixture.path()));
        ArchiveRequest killed =
            request(folder, DeletePlan::rows("DELETE FROM ", "DTD", " WHERE ", unfinished));
        killed.reached = [](ArchiveStep step) {
            if (step == GetParam())
                _exit(0); // no destructor, no rollback: as the power goes
        };
        if (db.DB_Connect())
            deleteWithArchive(db, killed, Clock::system());
        _exit(1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the step was never reached";
    ASSERT_EQ(files(folder).size(), 1);

    const std::unique_ptr<Mod_DB> db = fixture.connect();
    const std::vector<ArchiveUpkeep::Settled> settled =
        ArchiveUpkeep::settleUnfinished(folder, db.get());
    ASSERT_EQ(settled.size(), 1);
    if (GetParam() != ArchiveStep::Committed) {
        EXPECT_EQ(settled[0].kind, Kind::Removed) << settled[0].reason.toStdString();
        EXPECT_EQ(files(folder), QStringList());
        EXPECT_EQ(queryText(*db, deliveries), before);
        return;
    }
    EXPECT_EQ(settled[0].kind, Kind::Finished) << settled[0].reason.toStdString();
    ASSERT_EQ(files(folder).size(), 1);
    EXPECT_TRUE(files(folder)[0].endsWith(".sql"));
    EXPECT_NE(queryText(*db, deliveries), before);
    const RestoreOutcome restored = restoreArchive(*db, {QDir(folder).filePath(files(folder)[0])});
    EXPECT_TRUE(restored.succeeded) << restored.error.toStdString();
    EXPECT_EQ(queryText(*db, deliveries), before);
#endif
}

INSTANTIATE_TEST_SUITE_P(Steps, KilledDelete,
                         testing::Values(ArchiveStep::Copied, ArchiveStep::Sealed,
                                         ArchiveStep::Deleted, ArchiveStep::Committed));

// Rows the database would remove by itself, or a delete that removes nothing: no file, and
// nothing changes that the delete did not say.
TEST(ArchivedDelete, NoArchiveWithoutRowsAndNoDeleteTheDatabaseWouldWiden)
{
    FixtureDatabase fixture;
    QTemporaryDir dir;
    const std::unique_ptr<Mod_DB> db = fixture.connect();
    const ArchivedDeleteOutcome none = deleteWithArchive(
        *db, request(dir.path(), DeletePlan::rows("DELETE FROM ", "DTD", " WHERE ", "1 = 0")),
        ManualClock());
    EXPECT_TRUE(none.succeeded) << none.error.toStdString();
    EXPECT_EQ(none.rowsDeleted, 0);
    EXPECT_TRUE(none.archiveFile.isEmpty());
    EXPECT_EQ(files(dir.path()), QStringList());

    ASSERT_TRUE(db->DB_Execute("CREATE TRIGGER widen AFTER DELETE ON DTD "
                               "BEGIN DELETE FROM AC_TEMP; END")
                    .succeeded);
    const QString before =
        queryText(*db, "SELECT count(*) FROM DTD") + queryText(*db, "SELECT count(*) FROM AC_TEMP");
    const ArchivedDeleteOutcome widened = deleteWithArchive(
        *db, request(dir.path(), DeletePlan::rows("DELETE FROM ", "DTD", " WHERE ", unfinished)),
        ManualClock());
    EXPECT_FALSE(widened.succeeded);
    EXPECT_TRUE(widened.error.contains("삭제 트리거 widen (DTD)")) << widened.error.toStdString();
    EXPECT_EQ(queryText(*db, "SELECT count(*) FROM DTD") +
                  queryText(*db, "SELECT count(*) FROM AC_TEMP"),
              before);
    EXPECT_EQ(files(dir.path()), QStringList());
}

// Values a plain text literal cannot carry come back byte for byte; a column the database fills
// itself is left to it.
TEST(ArchivedDelete, OddValuesComeBackExactly)
{
    FixtureDatabase fixture;
    QTemporaryDir dir;
    const std::unique_ptr<Mod_DB> db = fixture.connect();
    ASSERT_TRUE(db->DB_Execute("CREATE TABLE ODD (K INTEGER PRIMARY KEY, T TEXT, B BLOB, "
                               "G TEXT GENERATED ALWAYS AS (upper(T)) VIRTUAL); "
                               "INSERT INTO ODD (K, T, B) VALUES (1, 'a'||char(0)||'b', X'00'), "
                               "(2, CAST(X'C3FF41' AS TEXT), X''), (3, '줄'||char(13, 10), NULL), "
                               "(4, char(65279)||'''', NULL)")
                    .succeeded)
        << db->DB_ErrText().toStdString();
    const QString snapshot =
        QStringLiteral("SELECT K, hex(T), typeof(T), hex(B), typeof(B), hex(G) FROM ODD");
    const QString before = queryText(*db, snapshot);
    const ArchivedDeleteOutcome deleted = deleteWithArchive(
        *db, request(dir.path(), DeletePlan::whole("DELETE FROM ", "ODD")), ManualClock());
    ASSERT_TRUE(deleted.succeeded) << deleted.error.toStdString();
    EXPECT_EQ(deleted.rowsDeleted, 4);
    EXPECT_FALSE(fileBytes(deleted.archiveFile).contains("\"G\""));
    const RestoreOutcome restored = restoreArchive(*db, {deleted.archiveFile});
    ASSERT_TRUE(restored.succeeded) << restored.error.toStdString();
    EXPECT_EQ(queryText(*db, snapshot), before);
}

// Old archives go at start, never the newest; 0 days keeps them all.
TEST(ArchiveUpkeep, OldArchivesGoButNeverTheNewest)
{
    QTemporaryDir dir;
    const QStringList names = {"20260101-090000-deliveries.sql", "20260301-090000-open-checks.sql",
                               "20260302-090000-deliveries.sql.part", "notes.txt",
                               "20260101-090000-deliveries.sql.restored"};
    for (const QString& name : names)
        ASSERT_TRUE(writeFile(dir.filePath(name), "x"));
    const QDateTime now(QDate(2026, 6, 1), QTime(12, 0));
    EXPECT_EQ(ArchiveUpkeep::removeOld(dir.path(), now, 0), QStringList());
    EXPECT_EQ(ArchiveUpkeep::removeOld(dir.path(), now, 90), QStringList{dir.filePath(names[0])});
    EXPECT_EQ(ArchiveUpkeep::removeOld(dir.path(), now, 90), QStringList());
    // The old archive's restore mark went with it.
    EXPECT_EQ(files(dir.path()), QStringList(names.mid(1, 3)));
    EXPECT_EQ(ArchiveUpkeep::keepDays(" 30 "), 30);
    EXPECT_EQ(ArchiveUpkeep::keepDays("-1"), 90);
    EXPECT_EQ(ArchiveUpkeep::keepDays(""), 90);
}
