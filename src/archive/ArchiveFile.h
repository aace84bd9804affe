#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringEncoder>

// One archive file being written: created new (never over an existing file), UTF-8 with a BOM,
// and on finish flushed to the disk together with its folder entry. Every failure leaves a
// Korean reason with the system's own words in error().
class ArchiveFile
{
public:
    ArchiveFile() = default;
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    // "yyyyMMdd-HHmmss-area.sql" in folder (made when missing); "-2", "-3", … before ".sql" when
    // the name is taken.
    bool create(const QString& folder, const QDateTime& time, const QString& area);
    bool write(const QString& text);
    // Where the next write lands, to overwrite a placeholder later.
    qint64 position();
    bool overwriteAt(qint64 position, const QString& text);
    // Flushes the data and the folder entry to the disk and closes the file.
    bool finish();
    // Closes and deletes the file (a delete that did not happen must leave nothing to restore).
    void remove();

    QString path() const { return m_file.fileName(); }
    const QString& error() const { return m_error; }

private:
    bool fail(const QString& what, const QString& systemText);
    bool writePending();

    QFile m_file;
    QStringEncoder m_encoder{QStringEncoder::Utf8};
    QString m_error;
    QString m_pending;      // encoded and written in large pieces
    bool m_created = false; // only a file made here is ever removed
};
