#pragma once

#include "agentcore/AgentSettings.h"
#include "agentcore/PollResult.h"
#include "core/Clock.h"

#include <QObject>
#include <QThread>

class Mod_TM;

// Runs the polls of a Mod_TM on a thread of its own, so a request that hangs never holds the
// user-interface thread. From its construction on, the Mod_TM is used only on that thread; the
// result comes back to the poller's thread through a queued signal. One poll at a time: poll()
// while one runs does nothing.
class AgentPoller : public QObject
{
    Q_OBJECT
public:
    explicit AgentPoller(Mod_TM& tm, const Clock& clock = Clock::system(),
                         QObject* parent = nullptr);
    // Cancels a request under way and waits for the thread to end.
    ~AgentPoller() override;

    // Hands the settings to the token client (in order with the polls) and keeps a copy here.
    void setSettings(const AgentSettings& settings);
    bool pollEnabled() const { return m_state.enabled; }

    // One poll of the states "00,02" with no look-back; polled() tells its result.
    void poll();
    bool busy() const { return m_busy; }

    // Updated before polled() is emitted.
    const PollState& state() const { return m_state; }

signals:
    void polled(const PollResult& result);

private:
    void finish(const PollResult& result);

    Mod_TM& m_tm;
    const Clock& m_clock;
    QThread m_thread;
    QObject m_worker; // lives on m_thread; the jobs run in its context
    PollState m_state;
    bool m_busy = false;
};
