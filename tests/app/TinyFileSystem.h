#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

// A tmpfs of a few kilobytes in a temporary folder, for a disk that fills up or turns read-only
// under a running program. Mounting needs root (or CAP_SYS_ADMIN) and Linux; where it is refused,
// isMounted() is false and reason() says why, and the caller skips.
class TinyFileSystem
{
public:
    explicit TinyFileSystem(qint64 bytes)
        : m_options(QByteArrayLiteral("size=") + QByteArray::number(bytes))
    {
        if (!m_dir.isValid()) {
            m_reason = m_dir.errorString();
            return;
        }
#ifdef _WIN32
        m_reason = QStringLiteral("POSIX only: Windows has no tmpfs");
#else
        const QByteArray target = QFile::encodeName(m_dir.path());
        if (::mount("tmpfs", target.constData(), "tmpfs", 0, m_options.constData()) == 0)
            m_mounted = true;
        else
            m_reason = QStringLiteral("cannot mount a tmpfs here: %1").arg(strerror(errno));
#endif
    }
    ~TinyFileSystem()
    {
#ifndef _WIN32
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
#endif
    }
    TinyFileSystem(const TinyFileSystem&) = delete;
    TinyFileSystem& operator=(const TinyFileSystem&) = delete;

    bool isMounted() const
    {
        return m_mounted;
    }
    const QString& reason() const
    {
        return m_reason;
    }
    QString filePath(const QString& name) const
    {
        return m_dir.filePath(name);
    }

    // Fails while a file on it is open for writing.
    bool setReadOnly(bool readOnly)
    {
#ifdef _WIN32
        Q_UNUSED(readOnly);
        return false;
#else
        const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
        return ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", flags,
                       m_options.constData()) == 0;
#endif
    }

    // Takes every free byte with one file; true once a write has run out of space.
    bool fill()
    {
#ifdef _WIN32
        return false;
#else
        const int fd = ::open(QFile::encodeName(filePath(QStringLiteral("filler"))).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        const QByteArray block(512, 'x');
        bool full = false;
        for (int i = 0; i < 100000 && !full; ++i)
            full = ::write(fd, block.constData(), size_t(block.size())) < block.size();
        ::close(fd);
        return full;
#endif
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_options;
    bool m_mounted = false;
    QString m_reason;
};
