#include "app/ProgramFolders.h"

#include "core/ActivityLog.h"
#include "demo/DemoDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ProgramFolders {

namespace {

bool homeUsable()
{
#ifdef Q_OS_WIN
    return true; // the log has its fixed folder; the profile is always there
#else
    const QString home = qEnvironmentVariable("HOME");
    const QFileInfo folder(home);
    return !home.isEmpty() && folder.isAbsolute() && folder.isDir() && folder.isWritable() &&
           folder.canonicalFilePath() != QDir::rootPath();
#endif
}

QString besideExecutable(const QString& name)
{
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

} // namespace

QString logFolder()
{
    return homeUsable() ? ActivityLog::defaultFolder() : besideExecutable(QStringLiteral("DB_Log"));
}

QString defaultDemoFile()
{
    return homeUsable() ? defaultDemoDatabasePath()
                        : besideExecutable(QStringLiteral("demo-pos.sqlite"));
}

} // namespace ProgramFolders
