#pragma once

#include "core/Clock.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

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

    // Time-stamp line, items 1 and 2 always, items 3 to 5 only when not empty.
    Result Write_Log(const QString& item1, const QString& item2, const QString& item3,
                     const QString& item4, const QString& item5);

    const QString& folder() const { return m_folder; }

    // "[2026-12-06 오후 3:04:05]": the time-stamp line of an entry.
    static QString timeStamp(const QDateTime& t);
    // The CP949 bytes of one entry, every line ending in CR LF.
    static QByteArray entryBytes(const QDateTime& t, const QString& item1, const QString& item2,
                                 const QString& item3, const QString& item4, const QString& item5);

private:
    QString m_folder;
    const Clock& m_clock;
};
