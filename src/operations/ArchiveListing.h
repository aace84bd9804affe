#pragma once

#include "archive/ArchivePreview.h"

#include <QString>
#include <vector>

// The archive files of a folder as a list shows them, each read from the file alone.
struct ArchiveEntry
{
    QString path;
    qint64 size = 0;
    bool restored = false;  // a restore put its rows back (RestoredMark)
    ArchivePreview preview; // the summary: header, counts, finished, refusal
};

// The archives (".sql") and unfinished ones (".part") of folder, newest first (the names start
// with the time); restore marks and other files are left out. Empty when there is no folder.
std::vector<ArchiveEntry> listArchives(const QString& folder);
