#pragma once

#include <QByteArray>
#include <QString>

// The one-copy-per-computer lock: a file locked through the operating system (flock, or
// LockFileEx on Windows), which the system lets go the moment its holder ends, however it ends
// and whoever the user was. The file's contents never decide anything, so a file left by a
// crashed copy, another user or another computer never keeps the next start out. The file is
// made readable and writable for every user; opening it read-only is enough to lock it.
class CopyLock
{
public:
    explicit CopyLock(const QString& file);
    ~CopyLock(); // unlocks
    CopyLock(const CopyLock&) = delete;
    CopyLock& operator=(const CopyLock&) = delete;

    enum class Result
    {
        Taken,
        Held,   // a running copy holds it
        Failed, // the file cannot be opened or locked; error() says why
    };
    // Only system calls from here on, so a forked child (a test's second user) may call it.
    Result tryLock();
    void unlock();
    const QString& error() const { return m_error; }

    // What the holder writes into the file for the next start to read: its process id and the
    // name it listens on. Nothing when the file could only be opened read-only.
    void writeNote(const QString& note);
    QString readNote() const;

private:
    QString m_file;
    QByteArray m_native;
    QString m_error;
    bool m_writable = false;
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};
