#include "archive/RestoredMark.h"

#include <QFile>
#include <QSaveFile>

namespace RestoredMark {

QString pathFor(const QString& archive)
{
    return archive + suffix;
}

bool write(const QString& archive, const QDateTime& when, qint64 rows)
{
    QSaveFile file(pathFor(archive));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8() + ' ' +
               QByteArray::number(rows) + "\r\n");
    return file.commit();
}

bool exists(const QString& archive)
{
    return QFile::exists(pathFor(archive));
}

} // namespace RestoredMark
