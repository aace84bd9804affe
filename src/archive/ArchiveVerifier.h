#pragma once

#include "archive/ArchiveStatement.h"
#include "archive/ArchivedDelete.h"
#include "db/Dialect.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// What an archive file's header says.
struct ArchiveHeader
{
    int format = 0; // 1 or 2
    Dialect dialect = Dialect::Sqlite;
    QString time; // "yyyy-MM-dd HH:mm:ss"
    QString computer;
    QString server; // empty in format 1, which names none
    QString database;
    QString work;
    QStringList tables; // in the order their inserts come
    QString deleteStatement;
};

// One statement that passed the check: where it stands in ArchiveCheck::text.
struct ArchiveStatementRef
{
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype line = 0;
    int table = 0; // index into the header's tables
    ArchiveStatement::Kind kind = ArchiveStatement::Kind::Insert;
};

// The whole file checked before anything of it runs. When a check fails, what could be read up
// to there (header, statements, counts) is still filled in, for a preview of a cut file.
struct ArchiveCheck
{
    bool verified = false; // every check passed: the statements may run
    // A closing line whose counts parse and whose SHA-256 matches (format 1: the header's counts
    // match the inserts).
    bool finished = false;
    qsizetype refusedLine = 0; // the first fault's line, 1 for the first line; 0 for none
    QString refusal;           // its reason in Korean; empty when verified
    bool headerRead = false;
    ArchiveHeader header;
    RowsPerTable rowsPerTable; // inserts counted per table, in the header's order
    qint64 rows = 0;
    QString text; // the file as text; the statements point into it
    std::vector<ArchiveStatementRef> statements;

    QStringView statement(const ArchiveStatementRef& s) const
    {
        return QStringView(text).sliced(s.start, s.length);
    }
    // "N번째 줄: reason", or the reason alone when it has no line.
    QString refusalText() const;
};

// Checks a whole archive file's bytes: the byte-order mark and UTF-8, the first line, the
// header, every statement against the writer's own forms, the counts and the SHA-256.
ArchiveCheck verifyArchive(const QByteArray& bytes);
