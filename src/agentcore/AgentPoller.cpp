#include "agentcore/AgentPoller.h"

#include "agentcore/AlertTexts.h"
#include "agentcore/Mod_TM.h"

AgentPoller::AgentPoller(Mod_TM& tm, const Clock& clock, QObject* parent)
    : QObject(parent), m_tm(tm), m_clock(clock)
{
    qRegisterMetaType<PollResult>();
    m_thread.setObjectName(QStringLiteral("poll"));
    m_worker.moveToThread(&m_thread);
    m_thread.start();
    m_state.enabled = m_tm.pollEnabled(); // nothing runs on the thread yet
}

AgentPoller::~AgentPoller()
{
    m_tm.cancel();
    m_thread.quit();
    m_thread.wait();
}

void AgentPoller::setSettings(const AgentSettings& settings)
{
    m_state.enabled = settings.pollEnabled == QLatin1String("Y");
    QMetaObject::invokeMethod(
        &m_worker, [this, settings] { m_tm.setSettings(settings); }, Qt::QueuedConnection);
}

void AgentPoller::poll()
{
    if (m_busy)
        return;
    m_busy = true;
    QMetaObject::invokeMethod(
        &m_worker,
        [this] {
            const PollResult result =
                m_tm.PollOrderCount(QStringLiteral("00,02"), QStringLiteral("0"));
            // The destructor waits for this thread, so this object still exists here.
            QMetaObject::invokeMethod(
                this, [this, result] { finish(result); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void AgentPoller::finish(const PollResult& result)
{
    m_busy = false;
    const QDateTime now = m_clock.now();
    if (result.ok()) {
        m_state.lastCount = result.count;
        m_state.lastSuccess = now;
        m_state.failingSince = QDateTime();
        m_state.failure.clear();
    } else {
        if (!m_state.failingSince.isValid())
            m_state.failingSince = now;
        m_state.failure = AlertTexts::failureReason(result);
    }
    emit polled(result);
}
