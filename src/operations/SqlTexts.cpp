#include "operations/SqlTexts.h"

namespace SqlTexts {

namespace {

const QString LF = QStringLiteral("\n");
const QString CRLF = QStringLiteral("\r\n");

const QString unfinishedSearch =
    QStringLiteral("(DTD_STATUS <3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y'");
const QString unfinishedDelete =
    QStringLiteral("(DTD_STATUS < 3 OR DTD_STATUS=9)AND DTD_CALGU <>'Y'");
const QString deleteFrom = QStringLiteral("DELETE FROM ");
const QString openCheck = QStringLiteral("PE_CK='0'");
const QString deliveryOrder = QStringLiteral(" ORDER BY DTD_JTIME,DTD_CALGU,DTD_STATUS");

} // namespace

QString quoteDoubled(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}

QString openTableSearch(Dialect)
{
    return QStringLiteral("SELECT PE_NTBID,PE_ID,PE_DATE,PE_TOT FROM PE") + LF +
           QStringLiteral("WHERE PE_CK=0");
}

Deletion openTableDeleteAll(Dialect)
{
    return {
        {DeletePlan::rows(deleteFrom, QStringLiteral("PE"), QStringLiteral(" WHERE "), openCheck)},
        QString()};
}

Deletion openTableDeleteOne(Dialect, const QString& checkNumber)
{
    return {{DeletePlan::rows(deleteFrom, QStringLiteral("PE"), QStringLiteral(" WHERE "),
                              openCheck + QStringLiteral("AND PE_ID ='") +
                                  quoteDoubled(checkNumber) + QStringLiteral("'"))},
            QString()};
}

QString payCancelSearch(Dialect)
{
    return QStringLiteral(" SELECT A.* ") + LF + QStringLiteral(" FROM AC_TEMP A ") + CRLF +
           QStringLiteral(" ORDER BY A.PE_ID, A.AC_NO ") + LF;
}

Deletion payCancelDelete(Dialect dialect)
{
    // SQL Server takes the three deletes as one batch; SQLite needs them separated. Each empties
    // its whole table.
    const QString lower = QStringLiteral("delete from ");
    return {{DeletePlan::whole(lower, QStringLiteral("ac_temp")),
             DeletePlan::whole(lower, QStringLiteral("credit_temp")),
             DeletePlan::whole(lower, QStringLiteral("pecash_temp"))},
            dialect == Dialect::Sqlite ? QStringLiteral(";") + CRLF : CRLF};
}

QString deliverySearchAll(Dialect)
{
    return QStringLiteral(" SELECT * FROM DTD ") + LF + QStringLiteral(" WHERE") +
           unfinishedSearch + CRLF + deliveryOrder;
}

QString deliverySearchRange(Dialect, const QString& from, const QString& to)
{
    return QStringLiteral(" SELECT * FROM DTD ") + LF +
           QStringLiteral(" WHERE (DTD_EDATE BETWEEN '") + quoteDoubled(from) +
           QStringLiteral("'") + CRLF + QStringLiteral(" AND  '") + quoteDoubled(to) +
           QStringLiteral("'") + CRLF + QStringLiteral(" AND") + unfinishedSearch +
           QStringLiteral(")") + CRLF + deliveryOrder;
}

Deletion deliveryDeleteAll(Dialect)
{
    return {{DeletePlan::rows(deleteFrom, QStringLiteral("DTD"), CRLF + QStringLiteral(" where "),
                              unfinishedDelete)},
            QString()};
}

Deletion deliveryDeleteRange(Dialect, const QString& from, const QString& to)
{
    return {{DeletePlan::rows(deleteFrom, QStringLiteral("DTD"), CRLF + QStringLiteral("WHERE "),
                              QStringLiteral("(DTD_EDATE BETWEEN '") + quoteDoubled(from) +
                                  QStringLiteral("'") + CRLF + QStringLiteral(" AND '") +
                                  quoteDoubled(to) + QStringLiteral("'") + CRLF +
                                  QStringLiteral(" AND") + unfinishedDelete + QStringLiteral(")"))},
            QString()};
}

QString countRows(const QString& table, const QString& where)
{
    return QStringLiteral("SELECT COUNT(*) FROM ") + table +
           (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where);
}

QString oldestUnfinishedDelivery(Dialect)
{
    return QStringLiteral("SELECT MIN(DTD_EDATE) FROM DTD WHERE ") + unfinishedDelete;
}

QString databaseBytes(Dialect dialect)
{
    // Files count their size in pages of 8 KB on SQL Server.
    if (dialect == Dialect::SqlServer)
        return QStringLiteral("SELECT SUM(CAST(size AS bigint)) * 8192 FROM sys.database_files");
    return QStringLiteral(
        "SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()");
}

QString optimise(Dialect dialect)
{
    if (dialect == Dialect::Sqlite)
        return QStringLiteral("REINDEX");

    // The first three declarations run into the fourth on one line; every later piece but the
    // last ends in a line feed, one of which falls inside the dynamic cursor's string literal.
    static const char* const pieces[] = {
        "DECLARE @Database VARCHAR(255)",
        "DECLARE @Table VARCHAR(255)",
        "DECLARE @cmd NVARCHAR(500)",
        "DECLARE @fillfactor INT",
        "SET @fillfactor = 90",
        "DECLARE DatabaseCursor CURSOR FOR",
        "SELECT name FROM master.dbo.sysdatabases",
        "WHERE name IN ('food')",
        "ORDER BY 1",
        "OPEN DatabaseCursor",
        "FETCH NEXT FROM DatabaseCursor INTO @Database",
        "WHILE @@FETCH_STATUS = 0",
        "BEGIN",
        "SET @cmd = 'DECLARE TableCursor CURSOR FOR SELECT ''['' + table_catalog + ''].['' + "
        "table_schema + ''].['' + table_name + '']'' as tableName FROM [' + @Database + "
        "'].INFORMATION_SCHEMA.TABLES  ",
        "WHERE table_type = ''BASE TABLE''' ",
        "EXEC (@cmd) OPEN TableCursor",
        "FETCH NEXT FROM TableCursor INTO @Table",
        "WHILE @@FETCH_STATUS = 0",
        "BEGIN",
        "IF (@@MICROSOFTVERSION / POWER(2, 24) >= 9)",
        "BEGIN",
        "SET @cmd = 'ALTER INDEX ALL ON ' + @Table + ' REBUILD WITH (FILLFACTOR = ' + "
        "CONVERT(VARCHAR(3),@fillfactor) + ')'",
        "EXEC (@cmd)",
        "End",
        "Else",
        "BEGIN",
        "DBCC DBREINDEX(@Table,' ',@fillfactor)",
        "End",
        "FETCH NEXT FROM TableCursor INTO @Table",
        "End",
        "Close TableCursor",
        "DEALLOCATE TableCursor",
        "FETCH NEXT FROM DatabaseCursor INTO @Database",
        "End",
        "Close DatabaseCursor",
        "DEALLOCATE DatabaseCursor",
    };
    constexpr int count = int(std::size(pieces));
    QString batch;
    for (int i = 0; i < count; ++i) {
        batch += QLatin1String(pieces[i]);
        if (i >= 3 && i < count - 1)
            batch += LF;
    }
    return batch;
}

QString optimiseCleanup(Dialect)
{
    return QStringLiteral(
        "IF CURSOR_STATUS('global','TableCursor') >= -1 DEALLOCATE TableCursor\n"
        "IF CURSOR_STATUS('global','DatabaseCursor') >= -1 DEALLOCATE DatabaseCursor");
}

QString lockTimeout(int milliseconds)
{
    return QStringLiteral("SET LOCK_TIMEOUT %1").arg(milliseconds);
}

} // namespace SqlTexts
