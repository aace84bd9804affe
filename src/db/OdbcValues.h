#pragma once

#include "db/DbConnection.h"
#include "db/OdbcApi.h"

#include <functional>
#include <vector>

// Reading a result's values: one map from the driver's column types and one typed row read,
// which both the text query and the typed read use.
namespace odbc {

// A result's columns as both reads see them.
struct ResultColumns
{
    std::vector<DbColumn> columns;
    std::vector<DbValueType> types; // how each value is read and written back
    // A date, time or date-time, whose text is shown without fraction and offset.
    std::vector<bool> temporal;

    size_t size() const { return columns.size(); }
};

// The count columns of the current result of stmt.
bool describeResult(SQLHSTMT stmt, SQLSMALLINT count, ResultColumns& result, DbDiagnostics& errors);

// Fetches the rows of the current result one by one, each read whole and handed to take. False
// when the driver failed (with its diagnostics) or take stopped the fetch (without any).
bool fetchRows(SQLHSTMT stmt, const ResultColumns& columns,
               const std::function<bool(const std::vector<DbValue>& row)>& take,
               DbDiagnostics& errors);

// The text a value shows in a query's result; NULL is the empty text.
QString valueText(const DbValue& value, bool temporal);

// The current result of stmt as texts: the field names in row 0, then every record.
bool readTextResult(SQLHSTMT stmt, SQLSMALLINT count, TextTable& result, DbDiagnostics& errors);

} // namespace odbc
