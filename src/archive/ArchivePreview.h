#pragma once

#include "archive/ArchiveVerifier.h"
#include "db/TextTable.h"

#include <QString>
#include <utility>
#include <vector>

// An archive file read for display, from the file alone (nothing is sent to a database): what
// its header says, how many rows it holds per table, whether a restore would take it and, when
// asked, its rows.
struct ArchivePreview
{
    QString file;
    bool headerRead = false; // header holds what the file says
    ArchiveHeader header;
    // Sealed and whole: its closing line's counts and SHA-256 match (a format-1 file: its
    // header's counts match). An unfinished or cut file is shown as such, never restored.
    bool finished = false;
    // Every check passed: a restore takes it (the database it names is still compared then).
    bool restorable = false;
    // Why a restore refuses it, with the line ("N번째 줄: …"); empty when restorable.
    QString refusal;
    RowsPerTable rowsPerTable; // inserts counted per table, as far as the file could be read
    qint64 rows = 0;
    // Rows only, per table of the header: row 0 the column names, then one row per insert as far
    // as the file could be read; NULL as the empty text, binary as 0x and hex digits.
    std::vector<std::pair<QString, TextTable>> tables;
};

enum class ArchivePreviewDetail
{
    Summary, // header, counts, finished and refusal: for a list of files
    Rows,    // the same and every row: for showing one file
};

ArchivePreview previewArchive(const QString& path,
                              ArchivePreviewDetail detail = ArchivePreviewDetail::Rows);
