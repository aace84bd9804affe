#pragma once

// The ODBC C interface. The Windows SDK's ODBC headers use its types without including them, so
// <windows.h> comes first there, without its min/max macros (they break std::min and Qt).
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>
