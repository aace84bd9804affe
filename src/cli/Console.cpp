#include "cli/Console.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
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
    // The bytes go out as written: a CSV's CR LF must not become CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

void holdClosedStandardStreams() {}
#else
#include <fcntl.h>
#include <unistd.h>

void attachParentConsole() {}

void holdClosedStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int held = open("/dev/null", O_RDONLY);
        if (held != -1 && held != fd) {
            dup2(held, fd);
            close(held);
        }
    }
}
#endif

namespace {

// Output is handed over in pieces, so a long listing is not held twice in memory.
constexpr qsizetype piece = 1 << 16;

} // namespace

ConsoleStream::ConsoleStream(FILE* file) : m_file(file) {}

ConsoleStream& ConsoleStream::operator<<(const QString& text)
{
    append(text.toUtf8());
    return *this;
}

ConsoleStream& ConsoleStream::operator<<(const char* utf8)
{
    append(QByteArray(utf8));
    return *this;
}

ConsoleStream& ConsoleStream::operator<<(char c)
{
    append(QByteArray(1, c));
    return *this;
}

ConsoleStream& ConsoleStream::operator<<(qint64 number)
{
    append(QByteArray::number(number));
    return *this;
}

void ConsoleStream::append(const QByteArray& bytes)
{
    if (failed())
        return;
    m_pending += bytes;
    if (m_pending.size() >= piece)
        writePending();
}

void ConsoleStream::writePending()
{
    if (failed() || m_pending.isEmpty())
        return;
    errno = 0;
    const size_t written = std::fwrite(m_pending.constData(), 1, size_t(m_pending.size()), m_file);
    if (written != size_t(m_pending.size()) || std::fflush(m_file) != 0 || std::ferror(m_file)) {
        const int reason = errno;
        m_error = reason != 0 ? QString::fromLocal8Bit(std::strerror(reason))
                              : QStringLiteral("short write");
    }
    m_pending.clear();
}

bool ConsoleStream::flush()
{
    writePending();
    return !failed();
}
