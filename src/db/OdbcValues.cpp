#include "db/OdbcValues.h"

#include "db/OdbcDiagnostics.h"

#include <QRegularExpression>

namespace odbc {

namespace {

// SQL Server's own time types, which ODBC's headers do not name.
constexpr SQLSMALLINT SQL_SS_TIME2 = -154;
constexpr SQLSMALLINT SQL_SS_TIMESTAMPOFFSET = -155;

struct ColumnType
{
    DbValueType type;
    bool temporal;
};

// The one map from a driver's SQL types. Whole numbers are read as their text; SQL Server's time
// and offset types carry more than a date-time literal and are written back as their own text.
ColumnType columnTypeOf(SQLSMALLINT sqlType)
{
    switch (sqlType) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
    case SQL_BIT:
        return {DbValueType::Integer, false};
    case SQL_SS_TIME2:
    case SQL_SS_TIMESTAMPOFFSET:
        return {DbValueType::Text, true};
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_DATE:
    case SQL_TYPE_TIME:
    case SQL_TIME:
        return {DbValueType::DateTime, true};
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return {DbValueType::Decimal, false};
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_DOUBLE:
        return {DbValueType::Float, false};
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        return {DbValueType::Binary, false};
    default:
        return {DbValueType::Text, false};
    }
}

bool isTextType(SQLSMALLINT sqlType)
{
    return sqlType == SQL_CHAR || sqlType == SQL_VARCHAR || sqlType == SQL_WCHAR ||
           sqlType == SQL_WVARCHAR;
}

// The Windows {SQL Server} driver predates date, time, datetime2 and datetimeoffset and describes
// them as text; only the type's name tells.
bool isTemporalTypeName(SQLHSTMT stmt, SQLUSMALLINT column)
{
    SQLWCHAR name[32] = {};
    SQLSMALLINT bytes = 0;
    if (!succeeded(SQLColAttributeW(stmt, column, SQL_DESC_TYPE_NAME, name,
                                    SQLSMALLINT(sizeof name), &bytes, nullptr)))
        return false;
    const QString type = QString::fromUtf16(reinterpret_cast<const char16_t*>(name)).toLower();
    return type == QLatin1String("date") || type == QLatin1String("time") ||
           type == QLatin1String("datetime2") || type == QLatin1String("datetimeoffset");
}

// A date, time or date-time as drivers give it in text ("2024-06-14 13:40:12.1230000 +09:00",
// "13:40:12.1230000", "2024-06-14"): without fraction and offset, as every other date-time.
QString temporalText(const QString& text)
{
    if (text.size() == 19 || text.size() == 10)
        return text;
    static const QRegularExpression form(QStringLiteral(
        R"(^(\d{4}-\d\d-\d\d(?: \d\d:\d\d:\d\d)?|\d\d:\d\d:\d\d)(?:\.\d*)?(?: ?[+-]\d\d:\d\d)?$)"));
    const QRegularExpressionMatch m = form.match(text);
    return m.hasMatch() ? m.captured(1) : text;
}

// One column's name (in name, length characters) and SQL type; a long name is read again whole.
bool describeColumn(SQLHSTMT stmt, SQLSMALLINT c, std::vector<SQLWCHAR>& name, SQLSMALLINT& length,
                    SQLSMALLINT& type, DbDiagnostics& errors)
{
    SQLSMALLINT digits = 0, nullable = 0;
    SQLULEN size = 0;
    SQLRETURN rc = SQLDescribeColW(stmt, SQLUSMALLINT(c + 1), name.data(), SQLSMALLINT(name.size()),
                                   &length, &type, &size, &digits, &nullable);
    if (rc == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(name.size())) {
        name.resize(size_t(length) + 1);
        rc = SQLDescribeColW(stmt, SQLUSMALLINT(c + 1), name.data(), SQLSMALLINT(name.size()),
                             &length, &type, &size, &digits, &nullable);
    }
    if (succeeded(rc))
        return true;
    failure(SQL_HANDLE_STMT, stmt, "SQLDescribeColW", errors);
    return false;
}

} // namespace

bool describeResult(SQLHSTMT stmt, SQLSMALLINT count, ResultColumns& result, DbDiagnostics& errors)
{
    result.columns.assign(size_t(count), DbColumn());
    result.types.assign(size_t(count), DbValueType::Text);
    result.temporal.assign(size_t(count), false);
    std::vector<SQLWCHAR> name(256);
    for (SQLSMALLINT c = 0; c < count; ++c) {
        SQLSMALLINT length = 0, sqlType = 0;
        if (!describeColumn(stmt, c, name, length, sqlType, errors))
            return false;
        const SQLUSMALLINT number = SQLUSMALLINT(c + 1);
        DbColumn& column = result.columns[size_t(c)];
        column.name = QString::fromUtf16(reinterpret_cast<const char16_t*>(name.data()),
                                         textLength(name, length));
        SQLLEN autoNumbered = SQL_FALSE;
        if (succeeded(SQLColAttributeW(stmt, number, SQL_DESC_AUTO_UNIQUE_VALUE, nullptr, 0,
                                       nullptr, &autoNumbered)))
            column.identity = autoNumbered == SQL_TRUE;
        const ColumnType type = columnTypeOf(sqlType);
        result.types[size_t(c)] = type.type;
        result.temporal[size_t(c)] =
            type.temporal || (isTextType(sqlType) && isTemporalTypeName(stmt, number));
    }
    return true;
}

namespace {

// Reads one column of the current row piece by piece as cType, handing each piece's bytes to
// append: a driver hands back at most a buffer's worth per call and says so with 01004 until the
// value is complete. terminator is the size of the terminator the driver puts after text.
template <typename Append>
bool readPieces(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT cType,
                std::vector<SQLWCHAR>& buffer, SQLLEN terminator, bool& isNull,
                DbDiagnostics& errors, Append&& append)
{
    isNull = false;
    const SQLLEN bytes = SQLLEN(buffer.size() * sizeof(SQLWCHAR));
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(stmt, column, cType, buffer.data(), bytes, &indicator);
        if (rc == SQL_NO_DATA)
            return true;
        if (!succeeded(rc)) {
            failure(SQL_HANDLE_STMT, stmt, "SQLGetData", errors);
            return false;
        }
        if (indicator == SQL_NULL_DATA) {
            isNull = true;
            return true;
        }
        const auto* data = reinterpret_cast<const char*>(buffer.data());
        if (rc == SQL_SUCCESS_WITH_INFO &&
            (indicator == SQL_NO_TOTAL || indicator > bytes - terminator)) {
            append(data, bytes - terminator);
            continue;
        }
        append(data, indicator);
        return true;
    }
}

// One value of the current row, whole. Binary values are read as bytes: read as text, FreeTDS
// puts a U+0000 into every piece of their hexadecimal form.
bool readValue(SQLHSTMT stmt, SQLUSMALLINT column, std::vector<SQLWCHAR>& buffer, DbValue& v,
               DbDiagnostics& errors)
{
    bool isNull = false;
    bool read = false;
    if (v.type == DbValueType::Binary) {
        v.bytes.clear();
        read = readPieces(stmt, column, SQL_C_BINARY, buffer, 0, isNull, errors,
                          [&](const char* data, SQLLEN n) { v.bytes.append(data, n); });
    } else if (v.type == DbValueType::Float) {
        SQLLEN indicator = 0;
        read = succeeded(SQLGetData(stmt, column, SQL_C_DOUBLE, &v.number, 0, &indicator));
        if (!read)
            failure(SQL_HANDLE_STMT, stmt, "SQLGetData", errors);
        isNull = indicator == SQL_NULL_DATA;
    } else {
        v.text.clear();
        read = readPieces(stmt, column, SQL_C_WCHAR, buffer, sizeof(SQLWCHAR), isNull, errors,
                          [&](const char* data, SQLLEN n) {
                              v.text.append(QStringView(reinterpret_cast<const char16_t*>(data),
                                                        qsizetype(n) / 2));
                          });
    }
    if (isNull)
        v.type = DbValueType::Null;
    return read;
}

} // namespace

bool fetchRows(SQLHSTMT stmt, const ResultColumns& columns,
               const std::function<bool(const std::vector<DbValue>& row)>& take,
               DbDiagnostics& errors)
{
    std::vector<DbValue> row(columns.size());
    std::vector<SQLWCHAR> buffer(4096);
    for (;;) {
        const SQLRETURN fetched = SQLFetch(stmt);
        if (fetched == SQL_NO_DATA)
            return true;
        if (!succeeded(fetched)) {
            failure(SQL_HANDLE_STMT, stmt, "SQLFetch", errors);
            return false;
        }
        for (size_t c = 0; c < row.size(); ++c) {
            row[c].type = columns.types[c];
            if (!readValue(stmt, SQLUSMALLINT(c + 1), buffer, row[c], errors))
                return false;
        }
        if (!take(row))
            return false;
    }
}

QString valueText(const DbValue& value, bool temporal)
{
    switch (value.type) {
    case DbValueType::Null:
        return QString();
    case DbValueType::Float:
        return floatText(value.number);
    case DbValueType::Binary:
    case DbValueType::TextBytes:
        return binaryText(value.bytes);
    case DbValueType::Decimal:
        return decimalText(value.text);
    case DbValueType::Integer:
    case DbValueType::Text:
    case DbValueType::DateTime:
        break;
    }
    return temporal ? temporalText(value.text) : value.text;
}

bool readTextResult(SQLHSTMT stmt, SQLSMALLINT count, TextTable& result, DbDiagnostics& errors)
{
    result.reset(1, count);
    ResultColumns columns;
    if (!describeResult(stmt, count, columns, errors))
        return false;
    for (size_t c = 0; c < columns.size(); ++c)
        result.setCell(0, int(c), columns.columns[c].name);
    return fetchRows(
        stmt, columns,
        [&](const std::vector<DbValue>& row) {
            result.appendRow();
            const int r = result.rowCount() - 1;
            for (size_t c = 0; c < row.size(); ++c) {
                if (row[c].type != DbValueType::Null)
                    result.setCell(r, int(c), valueText(row[c], columns.temporal[c]));
            }
            return true;
        },
        errors);
}

} // namespace odbc
