#include "core/Mod_Basic.h"

#include "core/Cp949.h"
#include "core/PrivateProfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The buffer the tool hands to the profile read: 255 bytes, so at most 254 come back.
constexpr int kBufferSize = 255;
const QString kDbNameKey = QStringLiteral("DBNAME");
const QString kPasswordKey = QStringLiteral("PASSWORD");
const QString kDefaultDbName = QStringLiteral("FOOD");

// A missing or unreadable file reads like an empty one: every lookup gives the default.
QByteArray fileBytes(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

} // namespace

namespace Mod_Basic {

QString localSection()
{
    return QStringLiteral("로컬ip");
}

QString iniPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/IP.ini");
}

QString Read_Ini(const QString& section, const QString& key, const QString& filePath)
{
    const PrivateProfile::ReadResult r = PrivateProfile::read(
        fileBytes(filePath), Cp949::encode(section), Cp949::encode(key), QByteArray(), kBufferSize);
    if (r.copied == 0) {
        return {};
    }
    // The caller's buffer ends at its first NUL, wherever the value had one.
    const qsizetype nul = r.value.indexOf('\0');
    return Cp949::decode(nul >= 0 ? r.value.left(nul) : r.value);
}

bool Write_Ini(const QString& section, const QString& key, const QString& value,
               const QString& filePath)
{
    const QFileInfo info(filePath);
    const QByteArray before = fileBytes(filePath);
    if (info.exists() && !info.isFile()) {
        return false;
    }
    const QByteArray after = PrivateProfile::write(before, Cp949::encode(section),
                                                   Cp949::encode(key), Cp949::encode(value));
    if (info.exists() && after == before) {
        return true;
    }
    // The replacement is written beside the file and renamed over it, so a failure midway leaves
    // the old file whole; in a folder that takes no new files, a writable file is written in
    // place. A read-only file stays read-only, as the profile write would find it.
    if (info.exists() && !info.isWritable()) {
        return false;
    }
    QSaveFile out(filePath);
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (out.write(after) != after.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

QString Get_DBName(const QString& filePath)
{
    const QString name = Read_Ini(localSection(), kDbNameKey, filePath);
    if (!name.isEmpty()) {
        return name;
    }
    // A failed write goes unreported: FOOD is used now and the next start writes it again.
    Write_Ini(localSection(), kDbNameKey, kDefaultDbName, filePath);
    return kDefaultDbName;
}

QString Get_Password(const QString& filePath)
{
    return Read_Ini(localSection(), kPasswordKey, filePath);
}

} // namespace Mod_Basic
