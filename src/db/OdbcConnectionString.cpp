#include "db/OdbcConnectionString.h"

#include "core/Mod_Basic.h"

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

std::optional<QString> odbcValue(const QString& value, bool freeTds)
{
    if (freeTds) {
        // FreeTDS ends a braced value at the first "};" and keeps doubled braces as they are.
        if (!value.contains(QLatin1Char(';')) && !value.startsWith(QLatin1Char('{')))
            return value;
        if (value.contains(QLatin1Char('}')))
            return std::nullopt;
        return QLatin1Char('{') + value + QLatin1Char('}');
    }
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
    const std::optional<QString> serverValue = odbcValue(serverName, freeTds);
    const std::optional<QString> database = odbcValue(trimBlanks(dbName), freeTds);
    // No driver has a brace in its name, and the driver managers disagree on how to write one.
    if (!serverValue || !database || driverName.contains(QLatin1Char('}')))
        return QString();

    QString s =
        QStringLiteral("DRIVER={") + driverName + QStringLiteral("};SERVER=") + *serverValue;
    if (freeTds && !ownPort)
        s += QStringLiteral(";PORT=1433");
    s += QStringLiteral(";DATABASE=") + *database + QStringLiteral(";UID=") +
         QLatin1String(SqlServerLogin::user) + QStringLiteral(";PWD=") +
         QLatin1String(SqlServerLogin::password);
    // Korean varchar needs TDS 7.1 or later, date, time and datetime2 7.3; without TextSize a
    // long nvarchar(max) or text value is cut at the server's default.
    if (freeTds)
        s += QStringLiteral(";ClientCharset=UTF-8;TDS_Version=7.4;TextSize=2147483647");
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
