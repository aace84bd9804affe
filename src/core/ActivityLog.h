#pragma once

#include "core/Clock.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// One entry of the activity log: its lines after the time stamp. Every entry ends with two empty
// lines, so entries stand apart in the file.
struct LogEntry
{
    QStringList lines;

    // A failed connection at start.
    static LogEntry connectionFailure();
    // A statement that changes data, as sent; failure is the server's text when it was refused.
    static LogEntry statement(const QString& address, const QString& tag, const QString& sql,
                              const QString& failure = QString());
};

// The daily activity log: one CP949 file per local date, YYYYMMDD.TXT in the log folder, every
// line ending in CR LF. Nothing is ever shown from here; Write_Log tells its caller whether the
// entry reached the file so that a window can warn the user.
class ActivityLog
{
public:
    explicit ActivityLog(QString folder, const Clock& clock = Clock::system());

    // C:\DB_Log on Windows, ~/DB_Log elsewhere.
    static QString defaultFolder();

    struct Result
    {
        bool written = false;
        QString filePath; // where the entry belongs
        QString error;    // why it is not there, when written is false
    };

    Result Write_Log(const LogEntry& entry);

    const QString& folder() const { return m_folder; }
    // Where the copies of deleted rows go: archive/ inside the log folder.
    QString archiveFolder() const;
    const Clock& clock() const { return m_clock; }

    // "[2026-12-06 오후 3:04:05]": the time-stamp line of an entry.
    static QString timeStamp(const QDateTime& t);
    // The CP949 bytes of one entry, every line ending in CR LF.
    static QByteArray entryBytes(const QDateTime& t, const LogEntry& entry);

private:
    QString m_folder;
    const Clock& m_clock;
};
