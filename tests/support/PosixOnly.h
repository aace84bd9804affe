#pragma once

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

// For tests that lean on what only POSIX systems have (renaming or replacing an open file, tmpfs,
// /dev/full, file modes on folders): on Windows they skip with the reason.
#ifdef _WIN32
#define SKIP_ON_WINDOWS(reason) GTEST_SKIP() << "POSIX only: " << (reason)
#else
#define SKIP_ON_WINDOWS(reason) static_cast<void>(0)
#endif

// Root reads and writes any file whatever its mode.
inline bool runsAsRoot()
{
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

// True where a file's or folder's missing read or write permission stops this process: not as
// root, and not on Windows, whose read-only attribute binds neither folders nor reading.
inline bool fileModesBindUs()
{
#ifdef _WIN32
    return false;
#else
    return !runsAsRoot();
#endif
}
