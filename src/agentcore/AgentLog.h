#pragma once

#include "core/Clock.h"

#include <QDate>
#include <QString>

// The agent's own daily log beside the activity log: one line for every change of its state
// (started, alerts stopped and why, the reason changed, alerts resumed, ended), so a technician
// can tell since when and why no alert came. Files are named by their day so they sort by it.
// Code page 949 with CR LF, like the activity log.
class AgentLog
{
public:
    explicit AgentLog(QString folder, const Clock& clock = Clock::system());

    // "sweep-agent-20261207.log"
    static QString fileName(const QDate& day);

    // Appends "yyyy-MM-dd HH:mm:ss line" to the day's file; false when it could not be written.
    bool write(const QString& line);
    // Removes the files of days more than keepDays before today (0 keeps all); how many went.
    int removeOlderThan(int keepDays);

    const QString& folder() const { return m_folder; }

private:
    QString m_folder;
    const Clock& m_clock;
};
