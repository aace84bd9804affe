#include "archive/ArchiveFile.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

bool syncToDisk(int fd)
{
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(fd))) != 0;
#else
    return ::fsync(fd) == 0;
#endif
}

// The new name must survive a crash too: on POSIX the folder entry is flushed on its own.
bool syncFolder(const QString& folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return true;
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL; // some file systems cannot sync folders
    ::close(fd);
    return ok;
#endif
}

QString systemError()
{
#ifdef Q_OS_WIN
    return qt_error_string(int(GetLastError()));
#else
    return QString::fromLocal8Bit(std::strerror(errno));
#endif
}

} // namespace

ArchiveFile::~ArchiveFile()
{
    m_file.close();
}

bool ArchiveFile::fail(const QString& what, const QString& systemText)
{
    m_error = what + QStringLiteral(": ") + QDir::toNativeSeparators(path()) +
              QStringLiteral(" (") + systemText + QLatin1Char(')');
    return false;
}

bool ArchiveFile::create(const QString& folder, const QDateTime& time, const QString& area)
{
    const QString stem = time.toString(QStringLiteral("yyyyMMdd-HHmmss-")) + area;
    if (!QDir().mkpath(folder)) {
        m_file.setFileName(folder);
        return fail(QStringLiteral("보관 폴더를 만들 수 없습니다"),
                    QStringLiteral("폴더를 만들지 못했습니다"));
    }
    const QDir dir(folder);
    for (int n = 1; n < 1000; ++n) {
        const QString suffix = n == 1 ? QString() : QStringLiteral("-%1").arg(n);
        m_file.setFileName(dir.filePath(stem + suffix + QStringLiteral(".sql")));
        if (m_file.exists())
            continue;
        // NewOnly: a file that appeared in the meantime is never overwritten.
        if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_created = true;
            return write(QString(QChar(0xFEFF)));
        }
        if (!m_file.exists())
            return fail(QStringLiteral("보관 파일을 만들 수 없습니다"), m_file.errorString());
    }
    return fail(QStringLiteral("보관 파일 이름이 모두 쓰이고 있습니다"), QStringLiteral("1000"));
}

bool ArchiveFile::write(const QString& text)
{
    m_pending += text;
    constexpr qsizetype piece = 1 << 18;
    return m_pending.size() < piece || writePending();
}

bool ArchiveFile::writePending()
{
    const QByteArray bytes = m_encoder.encode(m_pending);
    m_pending.resize(0); // keeps its capacity for the next piece
    if (m_file.write(bytes) == bytes.size())
        return true;
    return fail(QStringLiteral("보관 파일에 쓸 수 없습니다"), m_file.errorString());
}

qint64 ArchiveFile::position()
{
    writePending();
    return m_file.pos();
}

bool ArchiveFile::overwriteAt(qint64 position, const QString& text)
{
    if (!writePending())
        return false;
    const qint64 end = m_file.pos();
    m_pending = text;
    if (!m_file.seek(position) || !writePending())
        return fail(QStringLiteral("보관 파일에 쓸 수 없습니다"), m_file.errorString());
    if (!m_file.seek(end))
        return fail(QStringLiteral("보관 파일에 쓸 수 없습니다"), m_file.errorString());
    return true;
}

bool ArchiveFile::finish()
{
    if (!writePending() || !m_file.flush())
        return fail(QStringLiteral("보관 파일에 쓸 수 없습니다"), m_file.errorString());
    if (!syncToDisk(m_file.handle()))
        return fail(QStringLiteral("보관 파일을 디스크에 기록할 수 없습니다"), systemError());
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("보관 파일을 닫을 수 없습니다"), m_file.errorString());
    if (!syncFolder(QFileInfo(m_file).absolutePath()))
        return fail(QStringLiteral("보관 폴더를 디스크에 기록할 수 없습니다"), systemError());
    return true;
}

void ArchiveFile::remove()
{
    m_file.close();
    if (m_created)
        m_file.remove();
    m_created = false;
}
