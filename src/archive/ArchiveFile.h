#pragma once

#include "archive/ArchiveScript.h"
#include "archive/Sha256.h"

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringEncoder>

// One archive file being written. It is made new as NAME.sql.part (never over an existing file),
// UTF-8 with a BOM, hashed as it is written; seal() adds the closing line and flushes it to the
// disk; publish(), once the delete has committed, gives it its final name NAME.sql. Every
// failure leaves a Korean reason with the system's own words in error().
class ArchiveFile
{
public:
    ArchiveFile() = default;
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    // "yyyyMMdd-HHmmss-area.sql.part" in folder (made when missing); "-2", "-3", … before ".sql"
    // when the name is taken, finished or not.
    bool create(const QString& folder, const QDateTime& time, const QString& area);
    bool write(const QString& text);
    // The closing line with the rows per table and the hash of every byte before it; then the
    // file is on the disk, still under its unfinished name.
    bool seal(const RowsPerTable& rows);
    // The sealed file under its final name, the name on the disk too.
    bool publish();
    // Closes and deletes the unfinished file (a delete that did not happen leaves nothing).
    void remove();

    // Where the file is now: the unfinished name until it is published.
    QString path() const { return m_file.fileName(); }
    const QString& error() const { return m_error; }

private:
    bool fail(const QString& what, const QString& systemText);
    bool writePending();

    QFile m_file;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
    Sha256 m_hash;
    QString m_error;
    QString m_pending;      // encoded and written in large pieces
    bool m_created = false; // only a file made here is ever removed
};
