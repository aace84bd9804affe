#include "archive/DeletePlan.h"

DeletePlan DeletePlan::rows(QString deleteFrom, QString table, QString whereWord, QString where)
{
    return {std::move(table), std::move(where), std::move(deleteFrom), std::move(whereWord), false};
}

DeletePlan DeletePlan::whole(QString deleteFrom, QString table)
{
    return {std::move(table), QString(), std::move(deleteFrom), QString(), true};
}

QString DeletePlan::statement() const
{
    return deleteFrom + table + (wholeTable ? QString() : whereWord + where);
}

QString DeletePlan::copyQuery(Dialect dialect) const
{
    if (!wholeTable && where.trimmed().isEmpty())
        return QString();
    QString sql = QStringLiteral("SELECT * FROM ") + table;
    if (dialect == Dialect::SqlServer)
        sql += QStringLiteral(" WITH (UPDLOCK, HOLDLOCK)");
    if (!wholeTable)
        sql += QStringLiteral(" WHERE ") + where;
    return sql;
}

QString Deletion::statement() const
{
    QStringList statements;
    for (const DeletePlan& part : parts)
        statements << part.statement();
    return statements.join(separator);
}

QStringList Deletion::tables() const
{
    QStringList names;
    for (const DeletePlan& part : parts)
        names << part.table;
    return names;
}
