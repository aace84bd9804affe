#pragma once

#include "agentcore/PollResult.h"

#include <QString>
#include <optional>

// The Korean texts the popup, the tray and the agent's log show about the polls.
namespace AlertTexts {

// The popup's line when it has no count to announce: none known yet, or nothing waiting.
// Empty for a count above 0, which the popup shows in its sentence "TELEMENU 주문이 n 건이 ...".
QString noCountLine(std::optional<qint64> count);

// Why a poll failed, short enough for a tooltip.
QString failureReason(const PollResult& result);
// Why the agent does not poll at all; empty while it does.
QString notPolling(PollState::Off off);

// The tray icon's tooltip: the last successful poll's time and count, or since when and why the
// polls fail, or why there are none.
QString toolTip(const PollState& state);

// The lines of the agent's log.
QString logStarted();
QString logEnded();
QString logNotPolling(PollState::Off off);
// The reason with what the transport or the server said, where that adds something.
QString logStopped(const PollResult& result);
QString logReasonChanged(const PollResult& result);
QString logResumed(qint64 count);

} // namespace AlertTexts
