#pragma once

#include <QString>
#include <optional>

// The fixed login of the point-of-sale database server.
namespace SqlServerLogin {
inline constexpr char user[] = "sa";
inline constexpr char password[] = "KQXMRTA4817";
} // namespace SqlServerLogin

enum class OdbcPlatform
{
    Windows,
    Other,
#ifdef Q_OS_WIN
    Current = Windows,
#else
    Current = Other,
#endif
};

// The ODBC connection string for the local SQL Server: the catalog dbName (trimmed), the fixed
// login, and the platform's driver and server unless IP.ini names others (empty = not named).
// Windows: DRIVER={SQL Server};SERVER=(local);DATABASE=FOOD;UID=sa;PWD=...
// Others:  DRIVER={FreeTDS};SERVER=127.0.0.1;PORT=1433;DATABASE=FOOD;UID=sa;PWD=...;
//          ClientCharset=UTF-8;TDS_Version=7.4;TextSize=2147483647
// Empty when a name cannot be written so that the driver reads it back unchanged.
QString sqlServerConnectionString(const QString& dbName, const QString& server = QString(),
                                  const QString& driver = QString(),
                                  OdbcPlatform platform = OdbcPlatform::Current);

// The connection string for the IP.ini at iniPath (DBNAME through Get_DBName, SERVER, DRIVER).
QString sqlServerConnectionStringFromIni(const QString& iniPath);

// One connection-string value as the driver reads it back, or none when it cannot carry it.
// FreeTDS reads a braced value up to the first "};" and keeps doubled braces, so for it a value
// is bare when it can be (no ';', no leading '{'), else braced when it holds no '}'. Other drivers
// take braces with every '}' doubled, used when the value holds a character that would end or
// open one.
std::optional<QString> odbcValue(const QString& value, bool freeTds);
