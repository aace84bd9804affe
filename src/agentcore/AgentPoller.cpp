#include "agentcore/AgentPoller.h"

#include "agentcore/AgentLog.h"
#include "agentcore/AlertTexts.h"
#include "agentcore/Mod_TM.h"

#include <QDeadlineTimer>

namespace {

PollState::Off offFor(const AgentSettings& settings)
{
    if (settings.pollEnabled != QLatin1String("Y"))
        return PollState::Off::Disabled;
    return settings.baseUrl.isEmpty() ? PollState::Off::NoBaseUrl : PollState::Off::No;
}

} // namespace

AgentPoller::AgentPoller(Mod_TM& tm, const Clock& clock, QObject* parent)
    : QObject(parent), m_tm(tm), m_clock(clock)
{
    qRegisterMetaType<PollResult>();
    m_thread.setObjectName(QStringLiteral("poll"));
    m_worker.moveToThread(&m_thread);
    m_thread.start();
    m_state.off = offFor(m_tm.settings()); // nothing runs on the thread yet
}

AgentPoller::~AgentPoller()
{
    stop(-1);
}

bool AgentPoller::stop(int waitMs)
{
    m_tm.cancel();
    m_thread.quit();
    return waitMs < 0 ? m_thread.wait() : m_thread.wait(QDeadlineTimer(waitMs));
}

void AgentPoller::log(const QString& line)
{
    if (m_log)
        m_log->write(line);
}

void AgentPoller::setSettings(const AgentSettings& settings)
{
    const PollState::Off off = offFor(settings);
    if (off != m_state.off)
        log(AlertTexts::logNotPolling(off));
    m_state.off = off;
    emit stateChanged();
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
            // Whoever stops the thread waits for this job or never destroys this object.
            QMetaObject::invokeMethod(
                this, [this, result] { finish(result); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void AgentPoller::finish(const PollResult& result)
{
    m_busy = false;
    const QDateTime now = m_clock.now();
    const bool wasFailing = m_state.failingSince.isValid();
    if (result.ok()) {
        if (wasFailing)
            log(AlertTexts::logResumed(*result.count));
        m_state.lastCount = result.count;
        m_state.lastSuccess = now;
        m_state.failingSince = QDateTime();
        m_state.failure.clear();
    } else {
        const QString reason = AlertTexts::failureReason(result);
        if (!wasFailing) {
            m_state.failingSince = now;
            log(AlertTexts::logStopped(result));
        } else if (reason != m_state.failure) {
            log(AlertTexts::logReasonChanged(result));
        }
        m_state.failure = reason;
    }
    emit stateChanged();
    emit polled(result);
}
