#pragma once

#include "db/DbConnection.h"
#include "db/Dialect.h"
#include "db/Mod_DB.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

// Rows per table, in the order the tables come.
using RowsPerTable = std::vector<std::pair<QString, qint64>>;

// The texts of an archive file: a SQL script in the source database's dialect that puts deleted
// rows back when run by hand or by restoreArchive, sealed by a closing line with the counts and
// the SHA-256 of every byte before it. Pure functions, so the format is fixed here.
namespace ArchiveScript {

// The header's first line, "-- Sweep archive 2 (SQLite)": the format and the dialect.
QString firstLine(Dialect dialect);
struct Header
{
    QDateTime time;
    QString computer; // the computer's name and, in brackets, the address the log names
    DatabaseIdentity database;
    QString work; // the activity log's tag for the delete
    QStringList tables;
    QString deleteStatement;
};

// "POS-01 (192.0.2.2)": this computer's name and the address the log names.
QString computer(const QString& address);
// Every header line, each ending in CR LF.
QString headerText(Dialect dialect, const Header& header);

// "-- 끝: PE 5, DTD 0; SHA-256 " with the hash of every byte before this line, and CR LF.
QString closingLine(const RowsPerTable& rows, const QByteArray& sha256);

// A literal that gives the value back exactly (see docs/archive-format.md); false, with out
// unchanged, for a value this dialect cannot write exactly, which must then not be deleted.
bool appendLiteral(QString& out, Dialect dialect, const DbValue& value);
// A column name in the dialect's quotes.
QString quotedName(Dialect dialect, const QString& name);
// "INSERT INTO table (columns) VALUES (" without the columns the server fills itself: the part
// of an insert that is the same for every row of a table, so it is made once.
QString insertHead(Dialect dialect, const QString& table, const std::vector<DbColumn>& columns);
// head, the row's values but those of columns the server fills, and ");" CR LF; false, with out
// as it was, when a value cannot be written exactly.
bool appendInsert(QString& out, Dialect dialect, const QString& head,
                  const std::vector<DbColumn>& columns, const std::vector<DbValue>& row);
// SQL Server: the statement around a table's inserts when it has an identity column.
QString identityInsert(const QString& table, bool on);

} // namespace ArchiveScript
