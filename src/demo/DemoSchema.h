#pragma once

#include "db/Dialect.h"

#include <QString>
#include <vector>

// The demo's tables and sample rows as data, and the scripts written from them.
namespace demo {

enum class Type
{
    Integer,
    Amount, // won, stored with two decimals on SQL Server
    Char,   // fixed width, padded with blanks
    VarChar,
    DateTime, // 'yyyy-MM-dd HH:mm:ss'
};

struct Column
{
    const char* name;
    Type type;
    int width = 0;
};

struct Table
{
    const char* name;
    std::vector<Column> columns;
    const char* primaryKey;
    std::vector<const char*> indexes; // "name(columns)"
};

// Row values as text; nullptr is NULL.
using Row = std::vector<const char*>;

extern const Table pe;
extern const Table acTemp;
extern const Table creditTemp;
extern const Table pecashTemp;
extern const Table dtd;

// The value as SQLite stores it: fixed-width texts padded as SQL Server pads them.
QString storedText(const Column& c, const QString& value);

// CREATE TABLE for every table, INSERT for every sample row, CREATE INDEX for every index.
QString schemaScript(Dialect d);
QString rowsScript(Dialect d);
QString indexScript();

} // namespace demo
