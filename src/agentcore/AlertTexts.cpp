#include "agentcore/AlertTexts.h"

namespace AlertTexts {

namespace {

QString when(const QDateTime& moment)
{
    return moment.toString(QStringLiteral("M/d HH:mm:ss"));
}

// A server's words in a tooltip: their first line, and not all of a long one.
QString shortWords(const QString& words)
{
    constexpr qsizetype kMax = 60;
    const QString line = words.section(QLatin1Char('\n'), 0, 0).trimmed();
    return line.size() > kMax ? line.left(kMax) + QStringLiteral("…") : line;
}

QString tokenServiceFailure(const PollResult& result)
{
    if (result.status >= 200 && result.status <= 299)
        return QStringLiteral("토큰 서비스 응답을 읽을 수 없음");
    if (result.status != 0)
        return QStringLiteral("토큰 서비스 오류 (HTTP %1)").arg(result.status);
    if (result.timedOut)
        return QStringLiteral("토큰 서비스 응답 없음 (시간 초과)");
    return QStringLiteral("토큰 서비스 응답 없음");
}

QString terminalRefused(const PollResult& result)
{
    QStringList said;
    if (result.status < 200 || result.status > 299)
        said << QStringLiteral("HTTP %1").arg(result.status);
    if (!result.error.isEmpty())
        said << shortWords(result.error);
    return QStringLiteral("단말기 인증 거부") +
           (said.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(said.join(u' ')));
}

// The failure as the log keeps it: the reason and, where it adds something, all that was said.
QString logReason(const PollResult& result)
{
    using enum PollResult::Outcome;
    const QString reason = failureReason(result);
    const QString words =
        QString(result.error).replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    const bool tells = result.outcome == NoAnswer ||
                       (result.outcome == TokenServiceFailing && result.status == 0) ||
                       (result.outcome == DatabaseUnreadable && words != shortWords(words));
    return tells && !words.isEmpty() ? reason + QStringLiteral(" (%1)").arg(words) : reason;
}

} // namespace

QString noCountLine(std::optional<qint64> count)
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
    case PollResult::Outcome::BadBaseUrl:
        return QStringLiteral("IP.ini BaseUrl 주소가 잘못됨: %1").arg(shortWords(result.error));
    case PollResult::Outcome::TerminalRefused:
        return terminalRefused(result);
    case PollResult::Outcome::TokenServiceFailing:
        return tokenServiceFailure(result);
    case PollResult::Outcome::DatabaseUnreadable:
        return QStringLiteral("POS 데이터베이스를 읽을 수 없음: %1").arg(shortWords(result.error));
    }
    return {};
}

QString notPolling(PollState::Off off)
{
    switch (off) {
    case PollState::Off::No:
        return {};
    case PollState::Off::Disabled:
        return QStringLiteral("주문 확인 꺼짐 (IP.ini PollEnabled)");
    case PollState::Off::NoBaseUrl:
        return QStringLiteral("주문 확인 꺼짐 (IP.ini BaseUrl 없음)");
    }
    return {};
}

QString toolTip(const PollState& state)
{
    const QString title = QStringLiteral("TELEMENU 주문 알림");
    if (state.off != PollState::Off::No)
        return title + QLatin1Char('\n') + notPolling(state.off);
    QString lastGood;
    if (state.lastSuccess.isValid())
        lastGood = QStringLiteral("마지막 확인 %1, 주문 %2건")
                       .arg(when(state.lastSuccess))
                       .arg(state.lastCount.value_or(0));
    if (state.failingSince.isValid())
        return title +
               QStringLiteral(" 멈춤\n%1부터 실패: %2")
                   .arg(when(state.failingSince), state.failure) +
               (lastGood.isEmpty() ? QString() : QLatin1Char('\n') + lastGood);
    if (lastGood.isEmpty())
        return title + QStringLiteral("\n주문 확인 전");
    return title + QLatin1Char('\n') + lastGood;
}

QString logStarted()
{
    return QStringLiteral("시작");
}

QString logEnded()
{
    return QStringLiteral("종료");
}

QString logNotPolling(PollState::Off off)
{
    return off == PollState::Off::No ? QStringLiteral("주문 확인 켜짐") : notPolling(off);
}

QString logStopped(const PollResult& result)
{
    return QStringLiteral("알림 멈춤: ") + logReason(result);
}

QString logReasonChanged(const PollResult& result)
{
    return QStringLiteral("이유 바뀜: ") + logReason(result);
}

QString logResumed(qint64 count)
{
    return QStringLiteral("알림 다시 시작: 주문 %1건").arg(count);
}

} // namespace AlertTexts
