#include "db/SqliteConnection.h"
#include "support/FixtureDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

TEST(SqliteConnection, LockedDatabaseFailsAfterTheBusyTimeoutAndRecovers)
{
    FixtureDatabase fixture;
    ASSERT_TRUE(fixture.isValid());
    SqliteConnection conn(fixture.path(), 200);
    DbDiagnostics errors;
    ASSERT_TRUE(conn.open(errors));

    // Another program holds the database.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(fixture.path().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(conn.execute(QStringLiteral("DELETE FROM PE WHERE PE_CK='0'"), errors));
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.front().number & 0xff, SQLITE_BUSY);
    TextTable t;
    errors.clear();
    EXPECT_FALSE(conn.query(QStringLiteral("SELECT count(*) FROM PE"), t, errors));
    EXPECT_LT(timer.elapsed(), 4000);

    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    errors.clear();
    EXPECT_TRUE(conn.execute(QStringLiteral("DELETE FROM PE WHERE PE_CK='0'"), errors));
    EXPECT_TRUE(conn.query(QStringLiteral("SELECT count(*) FROM PE"), t, errors));
    EXPECT_EQ(t.cell(1, 0), "3");
}

TEST(SqliteConnection, OpeningNeverCreatesOrAcceptsANonDatabase)
{
    FixtureDatabase fixture;
    const QString missing = fixture.path() + QStringLiteral(".없음");
    DbDiagnostics errors;
    SqliteConnection absent(missing);
    EXPECT_FALSE(absent.open(errors));
    EXPECT_FALSE(absent.isOpen());
    EXPECT_FALSE(QFile::exists(missing));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors.front().description.contains(missing));

    QFile junk(fixture.path() + QStringLiteral(".txt"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    errors.clear();
    SqliteConnection notDb(junk.fileName());
    EXPECT_FALSE(notDb.open(errors));
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.front().number, SQLITE_NOTADB);
}

TEST(SqliteConnection, QueryReadsTheFirstResultOfSeveralStatements)
{
    FixtureDatabase fixture;
    SqliteConnection conn(fixture.path());
    DbDiagnostics errors;
    ASSERT_TRUE(conn.open(errors));
    TextTable t;
    ASSERT_TRUE(conn.query(
        QStringLiteral("-- 메모\n SELECT 1.0 AS A, 2.5 AS B, NULL AS C; SELECT 9;  "), t, errors));
    ASSERT_EQ(t.rowCount(), 2);
    EXPECT_EQ(t.cell(1, 0), "1");
    EXPECT_EQ(t.cell(1, 1), "2.5");
    EXPECT_TRUE(t.cell(1, 2).isEmpty());
    // Blanks only: no result columns at all.
    ASSERT_TRUE(conn.query(QStringLiteral("  "), t, errors));
    EXPECT_EQ(t.columnCount(), 0);
}
