#include "archive/ArchiveFileCheck.h"

#include <QDir>
#include <QFile>

ArchiveCheck checkArchiveFile(const QString& path)
{
    ArchiveCheck check;
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        check.refusal =
            QStringLiteral("보관 파일을 열 수 없습니다: %1 (%2)").arg(shown, file.errorString());
        return check;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        check.refusal =
            QStringLiteral("보관 파일을 읽을 수 없습니다: %1 (%2)").arg(shown, file.errorString());
        return check;
    }
    check = verifyArchive(bytes);
    // Its delete may not have committed: what it holds may still be in the database.
    if (path.endsWith(unfinishedSuffix, Qt::CaseInsensitive)) {
        check.verified = check.finished = false;
        check.refusedLine = 0;
        check.refusal =
            QStringLiteral("끝나지 않은 보관 파일입니다 (삭제가 끝나지 않았습니다): ") + shown;
    }
    return check;
}
