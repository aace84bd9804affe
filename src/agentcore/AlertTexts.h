#pragma once

#include "agentcore/PollResult.h"

#include <QString>
#include <optional>

// The Korean texts the popup and the tray show about the polls.
namespace AlertTexts {

// The popup's line when it has no count to announce: none known yet, or nothing waiting.
// Empty for a count above 0, which the popup shows in its sentence "TELEMENU 주문이 n 건이 ...".
QString noCountLine(std::optional<double> count);

// Why a poll failed, short enough for a tooltip.
QString failureReason(const PollResult& result);

// The tray icon's tooltip: the last successful poll's time and count, or since when and why the
// polls fail.
QString toolTip(const PollState& state);

} // namespace AlertTexts
