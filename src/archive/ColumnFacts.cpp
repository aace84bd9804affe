#include "archive/ColumnFacts.h"

QString ColumnFacts::apply(std::vector<DbColumn>& columns) const
{
    QString refused;
    for (DbColumn& column : columns) {
        column.serverFilled = serverFilled.contains(column.name, Qt::CaseInsensitive);
        if (refused.isEmpty() && unwritable.contains(column.name, Qt::CaseInsensitive))
            refused = column.name;
    }
    return refused;
}

std::optional<ColumnFacts> columnFacts(DbConnection& conn, const QString& table,
                                       DbDiagnostics& errors)
{
    QString quoted = table;
    quoted.replace(u'\'', QStringLiteral("''"));
    const bool server = conn.dialect() == Dialect::SqlServer;
    // name, filled by the database (1/0), cannot be written back (1/0)
    const QString sql =
        server ? QStringLiteral("SELECT name, CASE WHEN is_computed = 1 OR system_type_id = 189 "
                                "THEN 1 ELSE 0 END, CASE WHEN system_type_id IN (98, 240) THEN 1 "
                                "ELSE 0 END FROM sys.columns WHERE object_id = OBJECT_ID(N'%1')")
                     .arg(quoted)
               : QStringLiteral("SELECT name, hidden IN (2, 3), 0 FROM pragma_table_xinfo('%1')")
                     .arg(quoted);
    ColumnFacts facts;
    const bool read = conn.readRows(
        sql,
        [&](const std::vector<DbColumn>&, const std::vector<DbValue>& row) {
            if (row.size() < 3)
                return true;
            if (row[1].text == QLatin1String("1"))
                facts.serverFilled << row[0].text;
            if (row[2].text == QLatin1String("1"))
                facts.unwritable << row[0].text;
            return true;
        },
        errors);
    if (!read)
        return std::nullopt;
    return facts;
}
