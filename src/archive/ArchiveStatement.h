#pragma once

#include "db/Dialect.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

// Reads one statement of an archive file the way its writer wrote it, and nothing else: an
// insert of literal values or, on SQL Server, a SET IDENTITY_INSERT. Whatever does not fit the
// writer's own bytes is refused with the reason, so no text of a file runs unless it is data.
namespace ArchiveStatement {

enum class Kind
{
    Insert,
    IdentityOn,
    IdentityOff,
};

// One value as read back; the preview shows it, the restore sends the literal as it stands.
struct Value
{
    enum class Type
    {
        Null,
        Number,
        Text,      // pieces joined, char(n)/NCHAR(n) included
        Binary,    // X'…' or 0x…
        TextBytes, // CAST(X'…' AS TEXT): SQLite text whose bytes are not UTF-8
    };
    Type type = Type::Null;
    QString text;     // Number, Text
    QByteArray bytes; // Binary, TextBytes
};

struct Parsed
{
    Kind kind = Kind::Insert;
    QString table;
    QStringView columnList; // the columns as written, from '(' to ')'
    int columnCount = 0;
    QStringList columns;       // the names, only when the values are asked for
    std::vector<Value> values; // only when asked for
    qsizetype end = 0;         // just after the statement's ";" and CR LF
};

struct Result
{
    bool ok = false;
    Parsed parsed;
    QString reason;        // Korean, when not ok
    qsizetype errorAt = 0; // where in text the fault is
};

// Reads the statement that starts at text[start]; it must end in ";" and CR LF. withValues also
// decodes each value.
Result parse(QStringView text, qsizetype start, Dialect dialect, bool withValues);

// A table name as the format takes it: letters or '_', then letters, digits or '_', optionally
// with one "schema." in front.
bool isTableName(QStringView name);

} // namespace ArchiveStatement
