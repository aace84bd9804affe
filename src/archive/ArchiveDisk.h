#pragma once

#include <QString>

// What makes an archive file survive a crash or a power cut, and keeps two programs from
// handling the same unfinished file at once. Failures leave the system's words in *error.
namespace ArchiveDisk {

// Everything written to the open file reaches the disk.
bool syncFile(int fd, QString* error);
// The folder's entries (a new or renamed file) reach the disk. POSIX only; on Windows the
// move below writes through.
bool syncFolder(const QString& folder, QString* error);
// from becomes to, never over an existing file, and the new name is on the disk when this
// returns (Windows: MoveFileEx with write-through; POSIX: rename, then the folder flushed).
bool moveDurably(const QString& from, const QString& to, QString* error);

// Holds an unfinished file for its writer: while one program holds it, no other program's start
// settles the file. POSIX: an exclusive flock on the open file; on Windows a file open for
// writing cannot be moved or removed by another program anyway, so taking it always succeeds.
bool lock(int fd);

// Whether fd is still the file at path (no other program removed or replaced it).
bool stillAt(int fd, const QString& path);

} // namespace ArchiveDisk
