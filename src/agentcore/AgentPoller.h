#pragma once

#include "agentcore/AgentSettings.h"
#include "agentcore/PollResult.h"
#include "core/Clock.h"

#include <QObject>
#include <QThread>

class AgentLog;
class Mod_TM;

// Runs the polls of a Mod_TM on a thread of its own, so a request or a database login that hangs
// never holds the user-interface thread. From its construction on, the Mod_TM is used only on
// that thread; the result comes back to the poller's thread through a queued signal. One poll at
// a time: poll() while one runs does nothing. Every change of the state (alerts stop, their
// reason changes, they resume, polling is switched off or on) goes to the log, when there is one.
class AgentPoller : public QObject
{
    Q_OBJECT
public:
    explicit AgentPoller(Mod_TM& tm, const Clock& clock = Clock::system(),
                         QObject* parent = nullptr);
    // Cancels a request under way and waits for the thread to end.
    ~AgentPoller() override;

    void setLog(AgentLog* log) { m_log = log; }

    // Hands the settings to the token client (in order with the polls) and keeps a copy here.
    void setSettings(const AgentSettings& settings);
    // PollEnabled is "Y" and there is a service address.
    bool polls() const { return m_state.off == PollState::Off::No; }

    // One poll of the states "00,02" with no look-back; polled() tells its result.
    void poll();
    bool busy() const { return m_busy; }

    // Cancels a request under way and ends the thread; false when it is still inside a call that
    // cannot be cut short (a database login) after waitMs. Then neither this object nor the
    // Mod_TM may be destroyed: the program ends without them.
    bool stop(int waitMs);

    // Updated before polled() is emitted.
    const PollState& state() const { return m_state; }

signals:
    void polled(const PollResult& result);
    // state() changed: a poll ended or the settings switched polling off or on.
    void stateChanged();

private:
    void finish(const PollResult& result);
    void log(const QString& line);

    Mod_TM& m_tm;
    const Clock& m_clock;
    QThread m_thread;
    QObject m_worker; // lives on m_thread; the jobs run in its context
    PollState m_state;
    AgentLog* m_log = nullptr;
    bool m_busy = false;
};
