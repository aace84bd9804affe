#pragma once

#include <QString>

// IP.ini: the tool's configuration, a CP949 private-profile file beside the executable.
namespace Mod_Basic {

// "로컬ip", the section that holds DBNAME and PASSWORD.
QString localSection();

// Application folder + "/IP.ini".
QString iniPath();

QString Read_Ini(const QString& section, const QString& key, const QString& filePath);
// Returns whether the file now holds the value (the caller in DB_Connect ignores it).
bool Write_Ini(const QString& section, const QString& key, const QString& value,
               const QString& filePath);

// DBNAME of IP.ini, writing the default "FOOD" when it reads empty.
QString Get_DBName(const QString& filePath = iniPath());
QString Get_Password(const QString& filePath = iniPath());

} // namespace Mod_Basic
