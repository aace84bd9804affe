#pragma once

// The ODBC C interface. The Windows SDK's ODBC headers use its types without including them, so
// <windows.h> comes first there (the build leaves out its min/max macros).
#ifdef _WIN32
#include <windows.h>
#endif

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>
