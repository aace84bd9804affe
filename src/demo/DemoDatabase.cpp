#include "demo/DemoDatabase.h"

#include "demo/DemoBulkRows.h"
#include "demo/DemoSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace demo;

QString defaultDemoDatabasePath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.sweep");
    return folder + QStringLiteral("/demo-pos.sqlite");
}

QString demoDatabaseScript(Dialect dialect)
{
    // SQL Server only: the column types real POS schemas use and the demo's own tables do not,
    // one row of values and one of NULLs. The SQLite demo keeps its columns as they are.
    static const char sqlServerTypes[] =
        "IF OBJECT_ID(N'MENU', N'U') IS NOT NULL DROP TABLE MENU;\n"
        "CREATE TABLE MENU (\n"
        "    MENU_CODE int,\n"
        "    MENU_NAME varchar(40) COLLATE Korean_Wansung_CI_AS,\n"
        "    MENU_PRICE money,\n"
        "    MENU_UDATE smalldatetime,\n"
        "    MENU_STAMP datetime2,\n"
        "    MENU_NOTE nvarchar(max),\n"
        "    MENU_KEY binary(4),\n"
        "    PRIMARY KEY (MENU_CODE)\n"
        ");\n"
        "INSERT INTO MENU VALUES (1, N'김치찌개', 9000, '2024-06-14T13:40:00', "
        "'2024-06-14T13:40:12.1234567', REPLICATE(CAST(N'메뉴 설명 ' AS nvarchar(max)), 3000), "
        "0x00FF10A0);\n"
        "INSERT INTO MENU VALUES (2, NULL, NULL, NULL, NULL, NULL, NULL);\n";
    QString script = schemaScript(dialect) + rowsScript(dialect);
    if (dialect == Dialect::SqlServer)
        script += QString::fromUtf8(sqlServerTypes);
    return script + indexScript();
}

bool createDemoDatabase(const QString& file, const DemoSize& size, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (file.isEmpty())
        return fail(QStringLiteral("데모 데이터베이스 파일 이름이 비어 있습니다"));
    if (size.extraDeliveries < 0 || size.extraChecks < 0 || size.extraPayments < 0)
        return fail(QStringLiteral("데모 데이터베이스 크기가 음수입니다"));
    const QFileInfo target(file);
    if (target.exists())
        return fail(QStringLiteral("파일이 이미 있습니다: %1").arg(target.absoluteFilePath()));
    if (!QDir().mkpath(target.absolutePath()))
        return fail(QStringLiteral("폴더를 만들 수 없습니다: %1").arg(target.absolutePath()));

    // Built under a temporary name and renamed when complete, so a half-built file never
    // stands where the program looks for the demo.
    const QString part = target.absoluteFilePath() + QStringLiteral(".part");
    QFile::remove(part);
    bool ok;
    QString why;
    {
        SqliteFile db;
        ok = db.open(part) &&
             db.exec(QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF")) &&
             db.exec(QStringLiteral("BEGIN")) && db.exec(schemaScript(Dialect::Sqlite)) &&
             db.exec(rowsScript(Dialect::Sqlite)) && addDeliveries(db, size.extraDeliveries) &&
             addChecks(db, size.extraChecks) && addPayments(db, size.extraPayments) &&
             db.exec(indexScript()) && db.exec(QStringLiteral("COMMIT"));
        why = db.error();
    }
    if (ok && !QFile::rename(part, target.absoluteFilePath())) {
        ok = false;
        why = QStringLiteral("파일 이름을 바꿀 수 없습니다: %1").arg(target.absoluteFilePath());
    }
    if (!ok) {
        QFile::remove(part);
        return fail(QStringLiteral("데모 데이터베이스를 만들 수 없습니다: %1").arg(why));
    }
    return true;
}

QString openOrCreateDemoDatabase(const QString& file, QString* error)
{
    const QString path = file.isEmpty() ? defaultDemoDatabasePath() : file;
    if (QFileInfo::exists(path))
        return path;
    QString reason;
    if (createDemoDatabase(path, {}, &reason))
        return path;
    if (error)
        *error = QStringLiteral("cannot create the demo database %1: %2").arg(path, reason);
    return QString();
}
