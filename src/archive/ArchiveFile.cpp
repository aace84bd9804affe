#include "archive/ArchiveFile.h"

#include "archive/ArchiveDisk.h"
#include "archive/ArchiveFileCheck.h"

#include <QDir>
#include <QFileInfo>

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
        const QString name = stem + (n == 1 ? QString() : QStringLiteral("-%1").arg(n));
        const QString finished = dir.filePath(name + QStringLiteral(".sql"));
        m_file.setFileName(finished + unfinishedSuffix);
        if (QFile::exists(finished) || m_file.exists())
            continue;
        // NewOnly: a file that appeared in the meantime is never overwritten.
        // Unbuffered: the pieces are already large, and a write the disk cuts short reports
        // its own failure rather than a later flush's unnamed one.
        if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            m_created = true;
            if (!ArchiveDisk::lock(m_file.handle()))
                return fail(QStringLiteral("보관 파일을 다른 프로그램이 쓰고 있습니다"),
                            QStringLiteral("잠금"));
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
    m_hash.addData(bytes);
    // A short write carries no reason; writing the rest again makes the system say it (a full
    // disk: "No space left on device").
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = m_file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return fail(QStringLiteral("보관 파일에 쓸 수 없습니다"), m_file.errorString());
        done += written;
    }
    return true;
}

bool ArchiveFile::seal(const RowsPerTable& rows)
{
    if (!writePending())
        return false;
    m_pending = ArchiveScript::closingLine(rows, m_hash.result());
    if (!writePending() || !m_file.flush())
        return fail(QStringLiteral("보관 파일에 쓸 수 없습니다"), m_file.errorString());
    QString reason;
    if (!ArchiveDisk::syncFile(m_file.handle(), &reason))
        return fail(QStringLiteral("보관 파일을 디스크에 기록할 수 없습니다"), reason);
    if (!ArchiveDisk::syncFolder(QFileInfo(m_file).absolutePath(), &reason))
        return fail(QStringLiteral("보관 폴더를 디스크에 기록할 수 없습니다"), reason);
    // The last moment before the delete: the file must still be the one under this name.
    if (!ArchiveDisk::stillAt(m_file.handle(), path()))
        return fail(QStringLiteral("보관 파일이 쓰는 도중에 지워졌습니다"),
                    QStringLiteral("다른 프로그램"));
    return true;
}

bool ArchiveFile::publish()
{
    const QString unfinished = path();
    const QString finished = unfinished.chopped(unfinishedSuffix.size());
#ifdef Q_OS_WIN
    m_file.close(); // an open file cannot be moved there
#endif
    QString reason;
    const bool moved = ArchiveDisk::moveDurably(unfinished, finished, &reason);
    m_file.close();
    // A start of another sweep may have finished it in the moment it was closed.
    if (!moved && !(QFile::exists(finished) && !QFile::exists(unfinished)))
        return fail(QStringLiteral("보관 파일의 이름을 바꿀 수 없습니다"), reason);
    m_created = false;
    m_file.setFileName(finished);
    return true;
}

void ArchiveFile::remove()
{
    m_file.close();
    if (m_created)
        m_file.remove();
    m_created = false;
}
