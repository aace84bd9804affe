#include "operations/ArchiveListing.h"

#include "archive/ArchiveFileCheck.h"
#include "archive/RestoredMark.h"

#include <QDir>

std::vector<ArchiveEntry> listArchives(const QString& folder)
{
    const QStringList patterns{QStringLiteral("*.sql"), QLatin1Char('*') + unfinishedSuffix};
    const QFileInfoList files =
        QDir(folder).entryInfoList(patterns, QDir::Files, QDir::Name | QDir::Reversed);
    std::vector<ArchiveEntry> entries;
    entries.reserve(size_t(files.size()));
    for (const QFileInfo& file : files) {
        const QString path = file.filePath();
        entries.push_back({path, file.size(), RestoredMark::exists(path),
                           previewArchive(path, ArchivePreviewDetail::Summary)});
    }
    return entries;
}
