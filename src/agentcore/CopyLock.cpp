#include "agentcore/CopyLock.h"

#include <QFile>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

CopyLock::CopyLock(const QString& file) : m_file(file), m_native(QFile::encodeName(file)) {}

CopyLock::~CopyLock()
{
    unlock();
}

#ifdef _WIN32

namespace {
// Far past the note, so that the note stays readable while the lock holds (a locked range
// refuses reads on Windows).
constexpr DWORD kLockedOffsetHigh = 1;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
} // namespace

CopyLock::Result CopyLock::tryLock()
{
    if (m_handle)
        return Result::Taken;
    const std::wstring path = m_file.toStdWString();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    m_writable = h != INVALID_HANDLE_VALUE;
    if (!m_writable && GetLastError() == ERROR_ACCESS_DENIED) // another user's file
        h = CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_error = QStringLiteral("cannot open %1 (error %2)").arg(m_file).arg(GetLastError());
        return Result::Failed;
    }
    OVERLAPPED at = {};
    at.OffsetHigh = kLockedOffsetHigh;
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const DWORD error = GetLastError();
        CloseHandle(h);
        if (error == ERROR_LOCK_VIOLATION)
            return Result::Held;
        m_error = QStringLiteral("cannot lock %1 (error %2)").arg(m_file).arg(error);
        return Result::Failed;
    }
    m_handle = h;
    return Result::Taken;
}

void CopyLock::unlock()
{
    if (!m_handle)
        return;
    CloseHandle(static_cast<HANDLE>(m_handle)); // closing the handle lets the lock go
    m_handle = nullptr;
}

void CopyLock::writeNote(const QString& note)
{
    if (!m_handle || !m_writable)
        return;
    HANDLE h = static_cast<HANDLE>(m_handle);
    const QByteArray bytes = note.toUtf8();
    DWORD written = 0;
    SetFilePointer(h, 0, nullptr, FILE_BEGIN);
    WriteFile(h, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
    SetEndOfFile(h);
}

#else

namespace {

// No O_CREAT for a file that exists: in a sticky folder such as /tmp the system may refuse it
// on another user's file (fs.protected_regular). No symbolic links either.
int openExisting(const char* path, bool& writable)
{
    int fd = ::open(path, O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    writable = fd >= 0;
    if (fd < 0 && errno == EACCES)
        fd = ::open(path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    return fd;
}

} // namespace

CopyLock::Result CopyLock::tryLock()
{
    if (m_fd >= 0)
        return Result::Taken;
    const char* path = m_native.constData();
    int fd = openExisting(path, m_writable);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::fchmod(fd, 0666); // past the umask: the next user's start must open it too
            m_writable = true;
        } else if (errno == EEXIST) {
            fd = openExisting(path, m_writable);
        }
    }
    struct stat info = {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        fd = -1;
        errno = EINVAL;
    }
    if (fd < 0) {
        m_error = QStringLiteral("cannot open %1: %2")
                      .arg(QFile::decodeName(m_native), QString::fromLocal8Bit(strerror(errno)));
        return Result::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return Result::Held;
        m_error = QStringLiteral("cannot lock %1: %2")
                      .arg(QFile::decodeName(m_native), QString::fromLocal8Bit(strerror(error)));
        return Result::Failed;
    }
    m_fd = fd;
    return Result::Taken;
}

void CopyLock::unlock()
{
    if (m_fd < 0)
        return;
    ::close(m_fd); // closing the last descriptor lets the lock go
    m_fd = -1;
}

void CopyLock::writeNote(const QString& note)
{
    if (m_fd < 0 || !m_writable)
        return;
    const QByteArray bytes = note.toUtf8();
    // The note only spares the next start a guess; without it that start tries the usual name.
    if (::ftruncate(m_fd, 0) == 0) [[maybe_unused]]
        const auto written = ::pwrite(m_fd, bytes.constData(), size_t(bytes.size()), 0);
}

#endif

QString CopyLock::readNote() const
{
    QFile file(m_file);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(4096));
}
