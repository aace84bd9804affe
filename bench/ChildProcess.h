#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// One run of another program for the figures that are whole processes (start-up, peak memory).
struct ChildRun
{
    bool ok = false;        // started, ended by itself, exit code 0
    double wallSeconds = 0; // from the start request to its exit
    // User plus system time the process used. On a machine shared with other work this is the
    // steadier measure: waiting for a core is not counted.
    double cpuSeconds = 0;
    QByteArray output; // standard output
    QString error;     // why it is not ok
};

using EnvironmentChanges = std::vector<std::pair<QByteArray, QByteArray>>;

// Runs program with the offscreen platform, without the desktop session's display, and with the
// given variables set; standard error goes where ours goes. A child still running after
// timeoutSeconds is killed and reported.
ChildRun runChild(const QString& program, const QStringList& arguments,
                  const EnvironmentChanges& changes = {}, int timeoutSeconds = 300);
