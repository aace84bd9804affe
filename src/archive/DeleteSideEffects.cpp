#include "archive/DeleteSideEffects.h"

#include <QRegularExpression>

namespace {

bool named(const QStringList& tables, const QString& name)
{
    return tables.contains(name, Qt::CaseInsensitive);
}

QString foreignKey(const QString& child, const QString& parent, const QString& action)
{
    return QStringLiteral("외래 키 %1 → %2 (%3)").arg(child, parent, action);
}

QString trigger(const QString& name, const QString& table)
{
    return QStringLiteral("삭제 트리거 %1 (%2)").arg(name, table);
}

// Reads every row of sql as texts into rows; false with the reasons in errors.
bool readTexts(DbConnection& conn, const QString& sql, std::vector<QStringList>& rows,
               DbDiagnostics& errors)
{
    return conn.readRows(
        sql,
        [&](const std::vector<DbColumn>&, const std::vector<DbValue>& row) {
            QStringList texts;
            for (const DbValue& value : row)
                texts << value.text;
            rows.push_back(texts);
            return true;
        },
        errors);
}

bool sqlite(DbConnection& conn, const QStringList& tables, QStringList& found,
            DbDiagnostics& errors)
{
    std::vector<QStringList> rows;
    if (!readTexts(conn, QStringLiteral("PRAGMA foreign_keys"), rows, errors))
        return false;
    const bool keysEnforced = !rows.empty() && rows.front().value(0) == QLatin1String("1");
    rows.clear();
    if (keysEnforced &&
        !readTexts(conn,
                   QStringLiteral("SELECT m.name, f.\"table\", f.on_delete FROM sqlite_master m, "
                                  "pragma_foreign_key_list(m.name) f WHERE m.type = 'table'"),
                   rows, errors))
        return false;
    for (const QStringList& key : rows) {
        const QString action = key.value(2).toUpper();
        if (named(tables, key.value(1)) && action != QLatin1String("NO ACTION") &&
            action != QLatin1String("RESTRICT"))
            found << foreignKey(key.value(0), key.value(1), action);
    }
    rows.clear();
    if (!readTexts(conn,
                   QStringLiteral("SELECT name, tbl_name, sql FROM sqlite_master "
                                  "WHERE type = 'trigger'"),
                   rows, errors))
        return false;
    // The trigger's head says when it fires: "… [BEFORE|AFTER|INSTEAD OF] DELETE ON table".
    static const QRegularExpression onDelete(QStringLiteral(R"(\bDELETE\s+ON\b)"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression body(QStringLiteral(R"(\bBEGIN\b)"),
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QStringList& t : rows) {
        const QString sql = t.value(2);
        const qsizetype begin = sql.indexOf(body);
        if (named(tables, t.value(1)) &&
            onDelete.match(begin < 0 ? sql : sql.left(begin)).hasMatch())
            found << trigger(t.value(0), t.value(1));
    }
    return true;
}

bool sqlServer(DbConnection& conn, const QStringList& tables, QStringList& found,
               DbDiagnostics& errors)
{
    QStringList ids;
    for (QString table : tables)
        ids << QStringLiteral("OBJECT_ID(N'") + table.replace(u'\'', QStringLiteral("''")) +
                   QStringLiteral("')");
    const QString in = ids.join(QStringLiteral(", "));
    std::vector<QStringList> rows;
    if (!readTexts(conn,
                   QStringLiteral("SELECT OBJECT_NAME(parent_object_id), "
                                  "OBJECT_NAME(referenced_object_id), "
                                  "delete_referential_action_desc FROM sys.foreign_keys "
                                  "WHERE delete_referential_action <> 0 AND is_disabled = 0 "
                                  "AND referenced_object_id IN (") +
                       in + QLatin1Char(')'),
                   rows, errors))
        return false;
    for (const QStringList& key : rows)
        found << foreignKey(key.value(0), key.value(1), key.value(2).replace(u'_', u' '));
    rows.clear();
    if (!readTexts(conn,
                   QStringLiteral("SELECT t.name, OBJECT_NAME(t.parent_id) FROM sys.triggers t "
                                  "JOIN sys.trigger_events e ON e.object_id = t.object_id "
                                  "WHERE e.type_desc = N'DELETE' AND t.is_disabled = 0 "
                                  "AND t.parent_id IN (") +
                       in + QLatin1Char(')'),
                   rows, errors))
        return false;
    for (const QStringList& t : rows)
        found << trigger(t.value(0), t.value(1));
    return true;
}

} // namespace

std::optional<QStringList> deleteSideEffects(DbConnection& conn, const QStringList& tables,
                                             DbDiagnostics& errors)
{
    QStringList found;
    const bool read = conn.dialect() == Dialect::SqlServer ? sqlServer(conn, tables, found, errors)
                                                           : sqlite(conn, tables, found, errors);
    if (!read)
        return std::nullopt;
    return found;
}
