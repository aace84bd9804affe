#pragma once

#include "db/DbConnection.h"
#include "db/Dialect.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The texts of an archive file: a SQL script in the source database's dialect that puts deleted
// rows back when run by hand or by restoreArchive. Pure functions, so the format is fixed here.
namespace ArchiveScript {

// The header's first line; it marks the file as ours and names its dialect.
QString firstLine(Dialect dialect);
// The dialect a first line names; none for a file that is not an archive of ours.
std::optional<Dialect> dialectOfFirstLine(QStringView line);

struct Header
{
    QDateTime time;
    QString address;
    QString logTag;
    QString database;
    QString deleteStatement;
};

// Every header line but the row counts, each ending in CR LF.
QString headerText(Dialect dialect, const Header& header);
// "-- 행 수 DTD: " followed by the count right-aligned in countWidth places and CR LF; the
// count is written as 0 first and overwritten in place once it is known.
QString rowCountLine(const QString& table, qint64 count);
inline constexpr int countWidth = 12;

// A literal that gives the value back exactly: N'…' (SQL Server) or '…' with quotes doubled,
// 'yyyy-MM-ddTHH:mm:ss[.fff]' date-times on SQL Server, 0x… / X'…' binaries, NULL.
QString literal(Dialect dialect, const DbValue& value);
void appendLiteral(QString& out, Dialect dialect, const DbValue& value);
// A column name in the dialect's quotes.
QString quotedName(Dialect dialect, const QString& name);
// "INSERT INTO table (columns) VALUES (values);" and CR LF, on one line: the part up to the
// values is the same for every row of a table, so it is made once.
QString insertHead(Dialect dialect, const QString& table, const std::vector<DbColumn>& columns);
void appendInsert(QString& out, Dialect dialect, const QString& head,
                  const std::vector<DbValue>& row);
// The table an insert of ours fills; empty for any other statement.
QString insertedTable(QStringView statement);
// SQL Server: the statement around a table's inserts when it has an identity column.
QString identityInsert(const QString& table, bool on);

// The copy of the rows a delete will remove, read under the delete's locks on SQL Server.
QString copyQuery(Dialect dialect, const QString& table, const QString& where);

} // namespace ArchiveScript
