#pragma once

#ifndef _WIN32
#include <unistd.h>
#endif

// True where a file's or folder's missing read or write permission stops this process: not as
// root (which reads and writes whatever the mode), and not on Windows, whose read-only attribute
// binds neither folders nor reading.
inline bool fileModesBindUs()
{
#ifdef _WIN32
    return false;
#else
    return ::geteuid() != 0;
#endif
}
