#pragma once

// Which SQL the connected database speaks; the SQL builders of the work areas take it.
enum class Dialect
{
    SqlServer,
    Sqlite,
};
