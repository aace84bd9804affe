#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>

// A window program on Windows has no console of its own: the command line writes to the one it
// was started from, in UTF-8. Elsewhere standard output is already there.
void attachParentConsole();

// A closed standard stream would hand its number to the next file opened (a log or an archive
// file would receive the output): each closed one is held by a read-only /dev/null, on which a
// write fails as it would have.
void holdClosedStandardStreams();

// Standard output or error as UTF-8, every write checked: the first failed or short write is
// kept with the system's reason, and nothing more is written after it.
class ConsoleStream
{
public:
    explicit ConsoleStream(FILE* file);

    ConsoleStream& operator<<(const QString& text);
    ConsoleStream& operator<<(const char* utf8);
    ConsoleStream& operator<<(char c);
    ConsoleStream& operator<<(qint64 number);
    ConsoleStream& operator<<(int number) { return *this << qint64(number); }

    // Hands everything written so far to the system; false once any write has failed.
    bool flush();
    bool failed() const { return !m_error.isEmpty(); }
    // The system's words for the failure, e.g. "No space left on device".
    const QString& error() const { return m_error; }

private:
    void append(const QByteArray& bytes);
    void writePending();

    FILE* m_file;
    QByteArray m_pending;
    QString m_error;
};
