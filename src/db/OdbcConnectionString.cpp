#include "db/OdbcConnectionString.h"

#include "db/Mod_Basic.h"

namespace {

// Leading and trailing blanks only, as the catalog name has always been trimmed.
QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

QString odbcValue(const QString& value)
{
    static const QString special = QStringLiteral(";{}=");
    bool quote = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    for (QChar c : value)
        quote = quote || special.contains(c);
    if (!quote)
        return value;
    QString escaped = value;
    escaped.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + escaped + QLatin1Char('}');
}

QString sqlServerConnectionString(const QString& dbName, const QString& server,
                                  const QString& driver, OdbcPlatform platform)
{
    const bool windows = platform == OdbcPlatform::Windows;
    QString driverName = driver.trimmed();
    if (driverName.startsWith(QLatin1Char('{')) && driverName.endsWith(QLatin1Char('}')))
        driverName = driverName.mid(1, driverName.size() - 2).trimmed();
    if (driverName.isEmpty())
        driverName = windows ? QStringLiteral("SQL Server") : QStringLiteral("FreeTDS");
    const QString serverName = server.trimmed().isEmpty() ? (windows ? QStringLiteral("(local)")
                                                                     : QStringLiteral("127.0.0.1"))
                                                          : server.trimmed();
    const bool freeTds = driverName.contains(QLatin1String("FreeTDS"), Qt::CaseInsensitive);
    // A server given as "host\instance" or "host,port" carries its own way to the port.
    const bool ownPort =
        serverName.contains(QLatin1Char('\\')) || serverName.contains(QLatin1Char(','));

    QString s = QStringLiteral("DRIVER={") +
                QString(driverName).replace(QLatin1Char('}'), QLatin1String("}}")) +
                QStringLiteral("};SERVER=") + odbcValue(serverName);
    if (freeTds && !ownPort)
        s += QStringLiteral(";PORT=1433");
    s += QStringLiteral(";DATABASE=") + odbcValue(trimBlanks(dbName)) + QStringLiteral(";UID=") +
         QLatin1String(SqlServerLogin::user) + QStringLiteral(";PWD=") +
         QLatin1String(SqlServerLogin::password);
    if (freeTds)
        s += QStringLiteral(";ClientCharset=UTF-8");
    return s;
}

QString sqlServerConnectionStringFromIni(const QString& iniPath)
{
    const QString section = Mod_Basic::localSection();
    return sqlServerConnectionString(
        Mod_Basic::Get_DBName(iniPath),
        Mod_Basic::Read_Ini(section, QStringLiteral("SERVER"), iniPath),
        Mod_Basic::Read_Ini(section, QStringLiteral("DRIVER"), iniPath));
}
