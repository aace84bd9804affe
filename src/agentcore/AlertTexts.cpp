#include "agentcore/AlertTexts.h"

#include "agentcore/TmTexts.h"

namespace AlertTexts {

namespace {

QString when(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("M/d HH:mm:ss"));
}

} // namespace

QString noCountLine(std::optional<double> count)
{
    if (!count)
        return QStringLiteral("아직 주문 수를 확인하지 못했습니다.");
    if (*count > 0)
        return {};
    return QStringLiteral("대기 중인 주문이 없습니다.");
}

QString failureReason(const PollResult& result)
{
    switch (result.outcome) {
    case PollResult::Outcome::Counted:
        return {};
    case PollResult::Outcome::NoAnswer:
        return QStringLiteral("서버 응답 없음");
    case PollResult::Outcome::Refused:
        return QStringLiteral("인증 거부 (HTTP 401)");
    case PollResult::Outcome::BadStatus:
        return QStringLiteral("서버 오류 (HTTP %1)").arg(result.status);
    case PollResult::Outcome::Unreadable:
        return QStringLiteral("응답을 읽을 수 없음");
    }
    return {};
}

QString toolTip(const PollState& state)
{
    const QString title = QStringLiteral("TELEMENU 주문 알림");
    if (!state.enabled)
        return title + QStringLiteral("\n주문 확인 꺼짐 (IP.ini PollEnabled)");
    QString lastGood;
    if (state.lastSuccess.isValid())
        lastGood =
            QStringLiteral("마지막 확인 %1, 주문 %2건")
                .arg(when(state.lastSuccess), TmTexts::countCaption(state.lastCount.value_or(0)));
    if (state.failingSince.isValid())
        return title +
               QStringLiteral(" 멈춤\n%1부터 실패: %2")
                   .arg(when(state.failingSince), state.failure) +
               (lastGood.isEmpty() ? QString() : QLatin1Char('\n') + lastGood);
    if (lastGood.isEmpty())
        return title + QStringLiteral("\n주문 확인 전");
    return title + QLatin1Char('\n') + lastGood;
}

} // namespace AlertTexts
