#include "ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::vector<QByteArray> childEnvironment(const EnvironmentChanges& changes)
{
    EnvironmentChanges all{{"QT_QPA_PLATFORM", "offscreen"}};
    all.insert(all.end(), changes.begin(), changes.end());
    std::vector<QByteArray> environment;
    for (char** entry = environ; *entry; ++entry) {
        const QByteArray variable(*entry);
        const QByteArray name = variable.left(variable.indexOf('='));
        const bool replaced = std::any_of(all.begin(), all.end(),
                                          [&](const auto& change) { return change.first == name; });
        if (!replaced && name != "DISPLAY" && name != "WAYLAND_DISPLAY")
            environment.push_back(variable);
    }
    for (const auto& [name, value] : all)
        environment.push_back(name + '=' + value);
    return environment;
}

double seconds(const timeval& t)
{
    return double(t.tv_sec) + double(t.tv_usec) * 1e-6;
}

} // namespace

ChildRun runChild(const QString& program, const QStringList& arguments,
                  const EnvironmentChanges& changes, int timeoutSeconds)
{
    ChildRun run;
    std::vector<QByteArray> argumentTexts{program.toLocal8Bit()};
    for (const QString& argument : arguments)
        argumentTexts.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& text : argumentTexts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> environmentTexts = childEnvironment(changes);
    std::vector<char*> envp;
    for (QByteArray& text : environmentTexts)
        envp.push_back(text.data());
    envp.push_back(nullptr);

    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        run.error = QStringLiteral("pipe: ") + QString::fromLocal8Bit(std::strerror(errno));
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        run.error = program + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(spawned));
        return run;
    }
    // Output is read, and the end waited for, until the deadline; then the child is killed.
    const auto deadline = start + std::chrono::seconds(timeoutSeconds);
    auto remainingMs = [&] {
        return int(std::max<long long>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                              deadline - std::chrono::steady_clock::now())
                                              .count()));
    };
    bool late = false;
    char buffer[4096];
    for (;;) {
        pollfd readable{pipeEnds[0], POLLIN, 0};
        const int ready = poll(&readable, 1, remainingMs());
        if (ready == 0) {
            late = true;
            break;
        }
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
        if (got > 0)
            run.output.append(buffer, got);
        else if (got == 0 || errno != EINTR)
            break;
    }
    close(pipeEnds[0]);

    int status = 0;
    rusage usage{};
    if (late)
        kill(pid, SIGKILL);
    for (;;) {
        const pid_t ended = wait4(pid, &status, late ? 0 : WNOHANG, &usage);
        if (ended == pid || (ended < 0 && errno != EINTR))
            break;
        if (ended == 0 && remainingMs() == 0) {
            late = true;
            kill(pid, SIGKILL);
        } else if (ended == 0) {
            usleep(1000);
        }
    }
    if (late) {
        run.error = program + QStringLiteral(": did not end within %1 s").arg(timeoutSeconds);
        return run;
    }
    run.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        run.error = program + (WIFEXITED(status)
                                   ? QStringLiteral(": ended with %1").arg(WEXITSTATUS(status))
                                   : QStringLiteral(": ended by signal %1").arg(WTERMSIG(status)));
        return run;
    }
    run.ok = true;
    return run;
}
