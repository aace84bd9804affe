#include "archive/ArchiveDisk.h"

#include <QFile>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ArchiveDisk {

namespace {

bool failed(QString* error)
{
    if (error) {
#ifdef Q_OS_WIN
        *error = qt_error_string(int(GetLastError()));
#else
        *error = QString::fromLocal8Bit(std::strerror(errno));
#endif
    }
    return false;
}

} // namespace

bool syncFile(int fd, QString* error)
{
#ifdef Q_OS_WIN
    if (FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(fd))) == 0)
        return failed(error);
#else
    if (::fsync(fd) != 0)
        return failed(error);
#endif
    return true;
}

bool syncFolder(const QString& folder, QString* error)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    Q_UNUSED(error);
    return true;
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return failed(error);
    // Some file systems cannot sync a folder at all; their entries go with the next sync.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    if (!ok)
        failed(error);
    ::close(fd);
    return ok;
#endif
}

bool moveDurably(const QString& from, const QString& to, QString* error)
{
#ifdef Q_OS_WIN
    const std::wstring source = from.toStdWString();
    const std::wstring target = to.toStdWString();
    // Without MOVEFILE_REPLACE_EXISTING an existing target is never replaced.
    if (!MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
        return failed(error);
    return true;
#else
    if (QFile::exists(to)) {
        errno = EEXIST;
        return failed(error);
    }
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return failed(error);
    const qsizetype slash = to.lastIndexOf(QLatin1Char('/'));
    return syncFolder(slash > 0 ? to.left(slash) : QStringLiteral("."), error);
#endif
}

bool lock(int fd)
{
#ifdef Q_OS_WIN
    Q_UNUSED(fd);
    return true;
#else
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
#endif
}

bool stillAt(int fd, const QString& path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(fd);
    Q_UNUSED(path);
    return true; // an open file cannot be removed or replaced there
#else
    struct stat open
    {
    };
    struct stat named
    {
    };
    return ::fstat(fd, &open) == 0 && ::stat(QFile::encodeName(path).constData(), &named) == 0 &&
           open.st_ino == named.st_ino && open.st_dev == named.st_dev;
#endif
}

} // namespace ArchiveDisk
