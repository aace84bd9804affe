#include "cli/Console.h"

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <cstdio>
#include <windows.h>

void attachParentConsole()
{
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        // Redirected output (a file, a pipe) keeps its handle; only a missing one goes to the
        // console.
        if (GetStdHandle(STD_OUTPUT_HANDLE) == nullptr)
            std::freopen("CONOUT$", "w", stdout);
        if (GetStdHandle(STD_ERROR_HANDLE) == nullptr)
            std::freopen("CONOUT$", "w", stderr);
    }
    SetConsoleOutputCP(CP_UTF8);
}
#else
void attachParentConsole() {}
#endif
