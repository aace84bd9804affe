#include "db/SqliteConnection.h"
#include "support/FixtureDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

TEST(SqliteConnection, LockedDatabaseFailsAfterTheBusyTimeoutAndRecovers)
{
    FixtureDatabase fixture;
    SqliteConnection conn(fixture.path(), 200);
    DbDiagnostics errors;
    ASSERT_TRUE(conn.open(errors));
    sqlite3* other = nullptr; // another program holds the database
    ASSERT_EQ(sqlite3_open(fixture.path().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_FALSE(conn.execute(QStringLiteral("DELETE FROM PE WHERE PE_CK='0'"), errors));
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.front().number & 0xff, SQLITE_BUSY);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(conn.execute(QStringLiteral("DELETE FROM PE WHERE PE_CK='0'"), errors));
}
