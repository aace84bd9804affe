#pragma once

#include "db/DbConnection.h"

#include <QStringList>
#include <optional>

// What the catalog says of a table's columns that a result's description does not.
struct ColumnFacts
{
    // Filled by the database itself and refused in an insert: SQL Server's rowversion and
    // computed columns, SQLite's generated columns. Left out of the archive's inserts.
    QStringList serverFilled;
    // Of a type whose values cannot be written back exactly (SQL Server's sql_variant and CLR
    // types such as geography or hierarchyid): a delete of such rows is refused.
    QStringList unwritable;

    // Marks the result's columns the database fills; the first unwritable one, if any, is named.
    QString apply(std::vector<DbColumn>& columns) const;
};

// None when the catalog could not be read (the reasons in errors).
std::optional<ColumnFacts> columnFacts(DbConnection& conn, const QString& table,
                                       DbDiagnostics& errors);
