#pragma once

#include <QByteArray>

// Private-profile (INI) reading and writing over the raw bytes of a file in the ANSI code page,
// following what GetPrivateProfileStringA and WritePrivateProfileStringA do on Windows, so the
// same IP.ini reads the same on every system. No file access here: callers pass the file's bytes
// and store what comes back.
namespace PrivateProfile {

struct ReadResult
{
    QByteArray value; // what lands in the buffer before its terminating NUL
    int copied = 0;   // what the Windows call returns
};

// The value of key in section, or the default (trailing spaces dropped) when the section or the
// key is not there. At most bufferSize - 1 bytes are copied, never half a double-byte character.
ReadResult read(const QByteArray& file, const QByteArray& section, const QByteArray& key,
                const QByteArray& defaultValue, int bufferSize = 255);

// The file after setting key in section to value: an existing value is replaced in place, a
// missing key or section is added; every other byte stays as it was.
QByteArray write(const QByteArray& file, const QByteArray& section, const QByteArray& key,
                 const QByteArray& value);

// Compares section or key names the way the profile functions do: ASCII letters without regard
// to case, double-byte characters byte for byte.
bool sameName(const QByteArray& a, const QByteArray& b);

} // namespace PrivateProfile
