#include "db/OdbcDiagnostics.h"

#include <algorithm>

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "SQLWCHAR must be UTF-16");

namespace odbc {

qsizetype textLength(const std::vector<SQLWCHAR>& buffer, SQLSMALLINT reported)
{
    const qsizetype limit =
        qMin<qsizetype>(qMax<SQLSMALLINT>(reported, 0), qsizetype(buffer.size()) - 1);
    for (qsizetype i = 0; i < limit; ++i) {
        if (buffer[size_t(i)] == 0)
            return i;
    }
    return limit;
}

void readDiagnostics(SQLSMALLINT type, SQLHANDLE handle, DbDiagnostics& out)
{
    if (!handle)
        return;
    std::vector<SQLWCHAR> message(1024);
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRecW(type, handle, record, state, &native, message.data(),
                                      SQLSMALLINT(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= SQLSMALLINT(message.size())) {
            message.resize(size_t(length) + 1);
            rc = SQLGetDiagRecW(type, handle, record, state, &native, message.data(),
                                SQLSMALLINT(message.size()), &length);
        }
        if (!succeeded(rc))
            break;
        const qsizetype chars = textLength(message, length);
        out.push_back({qint32(native),
                       QString::fromUtf16(reinterpret_cast<const char16_t*>(message.data()), chars),
                       QString::fromUtf16(reinterpret_cast<const char16_t*>(state), 5)});
    }
}

void failure(SQLSMALLINT type, SQLHANDLE handle, const char* call, DbDiagnostics& out)
{
    const size_t before = out.size();
    readDiagnostics(type, handle, out);
    if (out.size() == before)
        out.push_back(
            {-1, QStringLiteral("%1 실패").arg(QLatin1String(call)), QStringLiteral("HY000")});
}

bool passed(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* call,
            DbDiagnostics& errors)
{
    if (rc == SQL_SUCCESS)
        return true;
    if (rc == SQL_SUCCESS_WITH_INFO) {
        DbDiagnostics said;
        readDiagnostics(type, handle, said);
        if (std::all_of(said.begin(), said.end(),
                        [](const DbDiagnostic& d) { return d.isWarning(); }))
            return true;
        errors.insert(errors.end(), said.begin(), said.end());
        return false;
    }
    failure(type, handle, call, errors);
    return false;
}

bool commitOutcomeLost(const DbDiagnostic& d)
{
    return d.state == QLatin1String("08S01") || d.state == QLatin1String("08007") ||
           d.state == QLatin1String("40003");
}

} // namespace odbc
