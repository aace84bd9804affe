#pragma once

#include "db/DbConnection.h"
#include "db/OdbcApi.h"

#include <vector>

// What the driver says about a call: its return code and every diagnostic record it keeps.
namespace odbc {

inline const SQLWCHAR* wide(const QString& text)
{
    return reinterpret_cast<const SQLWCHAR*>(text.utf16());
}

inline bool succeeded(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// The length a call reported, cut at the terminator: unixODBC reports the byte length of the
// narrow text when it converts for a narrow driver, which is too long for Korean.
qsizetype textLength(const std::vector<SQLWCHAR>& buffer, SQLSMALLINT reported);

// Every diagnostic record of a handle, in the order the driver keeps them.
void readDiagnostics(SQLSMALLINT type, SQLHANDLE handle, DbDiagnostics& out);

// The handle's records after a failed call; a line naming the call when the handle said nothing.
void failure(SQLSMALLINT type, SQLHANDLE handle, const char* call, DbDiagnostics& out);

// A call's outcome. SQL_SUCCESS_WITH_INFO counts as a failure when a record says more than a
// warning: a batch whose middle statement failed while the others ran may answer that way.
bool passed(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* call,
            DbDiagnostics& errors);

// The states of a commit whose answer was lost with the connection.
bool commitOutcomeLost(const DbDiagnostic& d);

} // namespace odbc
