#include "archive/ArchivedDelete.h"
#include "support/FixtureDatabase.h"
#include "support/ManualClock.h"
#include "support/QueryText.h"

#include <QTemporaryDir>

#include <algorithm>
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h> // before the ODBC headers
#endif
#include "db/OdbcApi.h"

#include <map>
#ifndef _WIN32
#include <dlfcn.h>
#endif

// Faults at the driver boundary: this program defines the few ODBC calls the transaction code
// makes, so the layer's calls land here and go on to unixODBC (dlsym RTLD_NEXT) unless a case
// armed a fault. What the database holds afterwards is read through a second connection.
// Exec: SQLExecDirectW of a text that starts with Fault::text.
enum class Call
{
    Commit,
    Rollback,
    Exec,
    Disconnect
};

struct Fault
{
    Call call;
    const char* state;    // of the one diagnostic record the failed call leaves
    bool forward = false; // the real call runs first (a commit whose answer is lost)
    SQLRETURN rc = SQL_ERROR;
    const char* text = "";
};

#ifndef _WIN32
namespace {
std::vector<Fault> armed;
std::map<SQLHANDLE, QString> fakeStates; // the state of each handle's injected record

template <typename Fn, typename... Args>
SQLRETURN interposed(const char* name, Call call, SQLHANDLE handle, const QString& sql,
                     Args... args)
{
    const auto next = reinterpret_cast<Fn*>(dlsym(RTLD_NEXT, name));
    fakeStates.erase(handle);
    const auto f = std::find_if(armed.begin(), armed.end(), [&](const Fault& f) {
        return f.call == call && (call != Call::Exec || sql.startsWith(QLatin1String(f.text)));
    });
    if (f == armed.end())
        return next(args...);
    if (f->forward && !SQL_SUCCEEDED(next(args...)))
        return SQL_ERROR;
    fakeStates[handle] = QLatin1String(f->state);
    return f->rc;
}
} // namespace

extern "C" {
SQLRETURN SQL_API SQLEndTran(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT completion)
{
    return interposed<SQLRETURN(SQLSMALLINT, SQLHANDLE, SQLSMALLINT)>(
        __func__, completion == SQL_COMMIT ? Call::Commit : Call::Rollback, handle, QString(), type,
        handle, completion);
}

// The copy's statement, whose fetches end early once fetchesLeft runs out (-1: never).
SQLHSTMT copyStatement = nullptr;
int fetchesLeft = -1;

SQLRETURN SQL_API SQLFetch(SQLHSTMT stmt)
{
    if (stmt == copyStatement && fetchesLeft >= 0 && fetchesLeft-- == 0)
        return SQL_NO_DATA;
    return reinterpret_cast<SQLRETURN (*)(SQLHSTMT)>(dlsym(RTLD_NEXT, __func__))(stmt);
}

SQLRETURN SQL_API SQLExecDirectW(SQLHSTMT stmt, SQLWCHAR* text, SQLINTEGER length)
{
    const QString sql = QString::fromUtf16(reinterpret_cast<const char16_t*>(text), length);
    if (sql.startsWith(QLatin1String("SELECT * FROM PE")))
        copyStatement = stmt;
    return interposed<SQLRETURN(SQLHSTMT, SQLWCHAR*, SQLINTEGER)>(__func__, Call::Exec, stmt, sql,
                                                                  stmt, text, length);
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC dbc)
{
    return interposed<SQLRETURN(SQLHDBC)>(__func__, Call::Disconnect, dbc, QString(), dbc);
}

SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record,
                                 SQLWCHAR* state, SQLINTEGER* native, SQLWCHAR* message,
                                 SQLSMALLINT capacity, SQLSMALLINT* length)
{
    const auto fake = fakeStates.find(handle);
    if (fake == fakeStates.end())
        return reinterpret_cast<decltype(&SQLGetDiagRecW)>(dlsym(RTLD_NEXT, __func__))(
            type, handle, record, state, native, message, capacity, length);
    if (record > 1) {
        fakeStates.erase(fake);
        return SQL_NO_DATA;
    }
    const QString text = QStringLiteral("주입된 오류 ") + fake->second;
    std::copy_n(fake->second.utf16(), 6, reinterpret_cast<char16_t*>(state));
    std::copy_n(text.utf16(), text.size() + 1, reinterpret_cast<char16_t*>(message));
    *native = 9999;
    *length = SQLSMALLINT(text.size());
    return capacity > text.size() ? SQL_SUCCESS : SQL_ERROR;
}
}
#endif

struct FaultCase
{
    const char* name;
    std::vector<Fault> faults;
    bool unknown;          // the outcome the layer must call not known
    const char* openLeft;  // open checks (PE_CK '0') a second connection sees afterwards
    bool archived = false; // the delete that keeps a copy, in a transaction of its own
};

using OdbcFault = testing::TestWithParam<FaultCase>;

TEST_P(OdbcFault, DeleteReportsWhatTheDatabaseHolds)
{
#ifdef _WIN32
    GTEST_SKIP() << "the ODBC calls are interposed with dlsym(RTLD_NEXT), which Windows lacks";
#else
    FixtureDatabase fixture;
    // A short lock wait, so a lock left behind fails the checks instead of stalling them.
    Mod_DB db(DbTarget::odbc(fixture.odbcConnectionString() + QStringLiteral(";Timeout=1000"),
                             Dialect::Sqlite));
    ASSERT_TRUE(db.DB_Connect()) << db.DB_ErrText().toStdString();
    const auto openLeft = [&] {
        return record(*fixture.connect(), "SELECT count(*) FROM PE WHERE PE_CK='0'");
    };

    const Deletion remove{{DeletePlan::rows("DELETE FROM ", "PE", " WHERE ", "PE_CK='0'")}, {}};
    QTemporaryDir dir;
    armed = GetParam().faults;
    ArchivedDeleteOutcome archived;
    DbOutcome outcome;
    if (GetParam().archived) {
        archived = deleteWithArchive(db, {dir.path(), "checks", "", "", remove, {}, {}, {}},
                                     ManualClock());
        outcome = {archived.succeeded, archived.error, {}, archived.outcomeUnknown};
    } else {
        outcome = db.DB_Execute(remove.statement());
    }
    armed.clear();
    EXPECT_EQ(QDir(dir.path()).isEmpty(), !archived.outcomeUnknown); // a copy while it may be gone
    EXPECT_TRUE(outcome.error.startsWith(QStringLiteral("9999 : "))) << outcome.error.toStdString();
    EXPECT_EQ(outcome.outcomeUnknown, GetParam().unknown);
    EXPECT_EQ(openLeft(), GetParam().openLeft);

    // No transaction and no lock outlives the failure: the same object's next statement (after a
    // delete that keeps a copy, the next such delete) and a second connection's write go through.
    const ArchiveRequest none{
        dir.path(), "none", "", "", {{DeletePlan::rows("DELETE FROM ", "PE", " WHERE ", "0")}, {}},
        {},         {},     {}};
    EXPECT_TRUE(GetParam().archived ? deleteWithArchive(db, none, ManualClock()).succeeded
                                    : db.DB_Execute("UPDATE PE SET PE_MEMO='다음'").succeeded)
        << db.DB_ErrText().toStdString();
    EXPECT_TRUE(
        fixture.connect()->DB_Execute(QStringLiteral("UPDATE PE SET PE_MEMO=''")).succeeded);
    EXPECT_EQ(openLeft(), GetParam().openLeft);
#endif
}

// The copy ends early (its third fetch says there is no more): the delete would remove more rows
// than the archive holds, so it is rolled back.
TEST(OdbcCopy, ADeleteThatRemovesMoreThanTheCopyHoldsIsRolledBack)
{
#ifdef _WIN32
    GTEST_SKIP() << "the ODBC calls are interposed with dlsym(RTLD_NEXT), which Windows lacks";
#else
    FixtureDatabase fixture;
    const std::unique_ptr<Mod_DB> db = fixture.connectOdbc();
    const QString open = QStringLiteral("SELECT count(*) FROM PE WHERE PE_CK='0'");
    const QString before = record(*db, open);
    QTemporaryDir dir;
    fetchesLeft = 2;
    const ArchivedDeleteOutcome outcome =
        deleteWithArchive(*db,
                          {dir.path(),
                           "checks",
                           "",
                           "",
                           {{DeletePlan::rows("DELETE FROM ", "PE", " WHERE ", "PE_CK='0'")}, {}},
                           {},
                           {},
                           {}},
                          ManualClock());
    fetchesLeft = -1;
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(
        outcome.error.contains(QStringLiteral("삭제한 행 수(%1)가 보관한 행 수(2)와").arg(before)))
        << outcome.error.toStdString();
    EXPECT_EQ(record(*fixture.connect(), open), before);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
#endif
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, OdbcFault, testing::Values(
    // Switching auto-commit back on after a failed rollback would commit the delete.
    FaultCase{"CommitAndRollbackFail", {{Call::Commit, "HY000"}, {Call::Rollback, "HY000"}},
              false, "5"},
    // Nothing ends the transaction: the connection is kept until it can be closed (never
    // orphaned with its locks), and the outcome is not claimed.
    FaultCase{"TransactionCannotBeEnded", {{Call::Commit, "HY000"}, {Call::Rollback, "HY000"},
              {Call::Exec, "HY000", false, SQL_ERROR, "ROLLBACK"}, {Call::Disconnect, "25000"}},
              true, "5"},
    // One statement of a batch failed while the others ran.
    FaultCase{"ErrorRecordWithSuccessWithInfo",
              {{Call::Exec, "23000", true, SQL_SUCCESS_WITH_INFO, "DELETE"}}, false, "5"},
    // The same for the delete that keeps a copy: a rollback not known to have happened ends in a
    // new connection, and the copy is kept.
    FaultCase{"ArchivedDeleteCannotBeEnded", {{Call::Commit, "HY000"}, {Call::Rollback, "HY000"},
              {Call::Exec, "HY000", false, SQL_ERROR, "ROLLBACK"}}, true, "5", true},
    // The connection kept with that transaction is replaced before the next delete begins.
    FaultCase{"ArchivedAfterOneThatCannotBeEnded", {{Call::Commit, "HY000"},
              {Call::Rollback, "HY000"}, {Call::Exec, "HY000", false, SQL_ERROR, "ROLLBACK"},
              {Call::Disconnect, "25000"}}, true, "5", true},
    // The commit went through but its answer was lost with the connection.
    FaultCase{"CommitAnswerLost", {{Call::Commit, "08S01", true}}, true, "0"}),
    [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });
// clang-format on
