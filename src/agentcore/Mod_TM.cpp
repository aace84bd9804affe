#include "agentcore/Mod_TM.h"

#include "agentcore/HttpRequest.h"
#include "agentcore/TmTexts.h"
#include "db/Mod_DB.h"
#include "db/TextTable.h"

namespace {

bool isSuccess(int status)
{
    return status >= 200 && status <= 299;
}

// A token field as text: absent and null read as empty; a list or an object cannot be read.
std::optional<QString> fieldText(const JsonValue& value)
{
    if (value.isList() || value.isDict())
        return std::nullopt;
    return value.toText();
}

} // namespace

Mod_TM::Mod_TM(HttpRequest& http, Mod_DB* db, const Clock& clock)
    : m_http(http), m_db(db), m_clock(clock)
{
}

QDateTime Mod_TM::nowInSeconds() const
{
    QDateTime now = m_clock.now();
    now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    return now;
}

bool Mod_TM::tokenDue() const
{
    bool ok = false;
    const double lifetime = m_expiresIn.trimmed().toDouble(&ok);
    // A lifetime that cannot be read would otherwise keep the token forever.
    if (!ok || !m_tokenIssuedAt.isValid())
        return true;
    const qint64 elapsed = m_tokenIssuedAt.secsTo(nowInSeconds());
    // A clock set back must not stretch the token's life by the same amount.
    if (elapsed < 0)
        return true;
    return lifetime <= double(elapsed + kRenewMarginSeconds);
}

void Mod_TM::EnsureToken()
{
    m_tokenTrouble.reset();
    if (m_expiresIn.isEmpty()) {
        if (!RequestPasswordToken(m_tokenResponse) || m_expiresIn.isEmpty())
            return;
    }
    if (tokenDue() && !RequestRefreshToken(m_tokenResponse))
        RequestPasswordToken(m_tokenResponse);
}

bool Mod_TM::RequestPasswordToken(JsonValue& slot)
{
    m_responseText.clear();
    m_requestUrl = m_settings.baseUrl + QLatin1String(TmTexts::kTokenPath);
    if (!LoadPosMacAddress())
        return false;
    return requestToken(TmTexts::passwordGrantBody(m_settings.comId, m_settings.rctCode,
                                                   m_settings.posId, m_macAddress),
                        slot);
}

bool Mod_TM::RequestRefreshToken(JsonValue& slot)
{
    m_responseText.clear();
    m_requestUrl = m_settings.baseUrl + QLatin1String(TmTexts::kTokenPath);
    return requestToken(TmTexts::refreshGrantBody(m_refreshToken), slot);
}

bool Mod_TM::tokenTrouble(PollResult::Outcome outcome, QString error, int status, bool timedOut)
{
    m_tokenTrouble = PollResult::failed(outcome, std::move(error), status, timedOut);
    return false;
}

PollResult Mod_TM::noToken() const
{
    return m_tokenTrouble.value_or(PollResult::failed(PollResult::Outcome::TokenServiceFailing,
                                                      QStringLiteral("no token granted")));
}

bool Mod_TM::requestToken(const QByteArray& body, JsonValue& slot)
{
    using enum PollResult::Outcome;
    m_http.open(QStringLiteral("POST"), m_requestUrl.trimmed());
    m_http.setRequestHeader(QStringLiteral("Content-Type"),
                            QStringLiteral("application/x-www-form-urlencoded"));
    m_http.setRequestHeader(QStringLiteral("Authorization"),
                            QStringLiteral("Basic ") + QLatin1String(TmTexts::kClientCredentials));
    if (!m_http.send(body.trimmed()))
        return tokenTrouble(TokenServiceFailing, m_http.errorText(), 0, m_http.timedOut());
    const int status = m_http.status();
    if (!isSuccess(status)) {
        // The service's refusals of a grant (RFC 6749 5.2) name their reason in "error".
        if (status != 400 && status != 401 && status != 403)
            return tokenTrouble(TokenServiceFailing, {}, status);
        const JsonValue refusal = m_json.ReadJson(m_http.responseText());
        return tokenTrouble(TerminalRefused,
                            fieldText(refusal.value(QStringLiteral("error"))).value_or(QString()),
                            status);
    }

    m_responseText = m_http.responseText();
    if (m_responseText.isEmpty())
        return tokenTrouble(TokenServiceFailing, {}, status);
    slot = m_json.ReadJson(m_responseText);
    if (!slot.isDict())
        return tokenTrouble(TokenServiceFailing, {}, status);
    const std::optional<QString> error = fieldText(slot.value(QStringLiteral("error")));
    if (!error)
        return tokenTrouble(TokenServiceFailing, {}, status);
    if (!error->isEmpty())
        return tokenTrouble(TerminalRefused, *error, status);

    // All five or none: a half-replaced token would pair a new access token with an old type.
    const auto accessToken = fieldText(slot.value(QStringLiteral("access_token")));
    const auto tokenType = fieldText(slot.value(QStringLiteral("token_type")));
    const auto refreshToken = fieldText(slot.value(QStringLiteral("refresh_token")));
    const auto expiresIn = fieldText(slot.value(QStringLiteral("expires_in")));
    if (!accessToken || accessToken->isEmpty() || !tokenType || !refreshToken || !expiresIn)
        return tokenTrouble(TokenServiceFailing, {}, status);
    m_tokenTrouble.reset();
    m_accessToken = *accessToken;
    m_tokenType = *tokenType;
    m_refreshToken = *refreshToken;
    m_tokenIssuedAt = nowInSeconds();
    m_expiresIn = *expiresIn;
    return true;
}

bool Mod_TM::LoadPosMacAddress()
{
    using enum PollResult::Outcome;
    m_macAddress.clear();
    if (!m_db)
        return tokenTrouble(DatabaseUnreadable, QStringLiteral("no database"));
    // The agent may start before the database server does, and a server may restart under it:
    // connect again rather than stay without a token until the next start.
    if ((m_reconnect || !m_db->isConnected()) && !m_db->DB_Connect())
        return tokenTrouble(DatabaseUnreadable, m_db->DB_ErrText()); // a connect's only word
    m_reconnect = false;
    TextTable table;
    qint32 rows = 0;
    qint32 columns = 0;
    const DbOutcome read = m_db->DB_Query(
        TmTexts::posMacAddressSql(m_settings.rctCode, m_settings.posId), table, rows, columns);
    if (!read.succeeded) {
        m_reconnect = true;
        return tokenTrouble(DatabaseUnreadable, read.error);
    }
    if (rows >= 1 && columns >= 1)
        m_macAddress = table.cell(1, 0);
    return true;
}

QString Mod_TM::authorization() const
{
    const QString type = m_tokenType.compare(QLatin1String("bearer"), Qt::CaseInsensitive) == 0
                             ? QStringLiteral("Bearer")
                             : m_tokenType;
    return type + QLatin1Char(' ') + m_accessToken;
}

PollResult Mod_TM::PollOrderCount(const QString& statusList, const QString& lookBackMinutes)
{
    if (!m_settings.baseUrlWellFormed())
        return PollResult::failed(PollResult::Outcome::BadBaseUrl, m_settings.baseUrl);
    EnsureToken();
    if (m_accessToken.isEmpty())
        return noToken();

    bool ok = false;
    const double minutes = lookBackMinutes.trimmed().toDouble(&ok);
    if (!ok || !(qAbs(minutes) <= 1e8)) // also refuses NaN; a century is far enough back
        return PollResult::failed(PollResult::Outcome::NoAnswer,
                                  QStringLiteral("unusable look-back"));
    const qint64 lookBackSeconds = qRound64(minutes * 60.0);

    PollResult result = sendPoll(statusList, lookBackSeconds);
    if (result.status != 401)
        return result;
    // The service forgot the token (restart, revocation): get a new one now rather than keep
    // sending the dead one until its announced lifetime ends.
    dropAccessToken();
    EnsureToken();
    if (m_accessToken.isEmpty())
        return noToken();
    result = sendPoll(statusList, lookBackSeconds);
    if (result.status == 401)
        dropAccessToken(); // refused again: the next poll starts with a new grant too
    return result;
}

void Mod_TM::dropAccessToken()
{
    m_accessToken.clear();
    m_tokenIssuedAt = QDateTime(); // due: refresh first, password grant if that fails
}

PollResult Mod_TM::sendPoll(const QString& statusList, qint64 lookBackSeconds)
{
    const QString upperBound = TmTexts::upperTimeBound(m_clock.now().addSecs(-lookBackSeconds));
    m_requestUrl = TmTexts::orderCountUrl(m_settings.baseUrl, m_settings.comId, m_settings.rctCode,
                                          statusList, upperBound);

    m_http.open(QStringLiteral("GET"), m_requestUrl.trimmed());
    m_http.setRequestHeader(QStringLiteral("Authorization"), authorization());
    m_http.setRequestHeader(QStringLiteral("Content-Type"), QStringLiteral("application/json"));
    m_http.setTimeouts(m_pollTimeoutMs, m_pollTimeoutMs, m_pollTimeoutMs, m_pollTimeoutMs);
    PollResult result;
    if (!m_http.send()) {
        result.error = m_http.errorText();
        result.timedOut = m_http.timedOut();
        return result;
    }
    result.status = m_http.status();
    if (!isSuccess(result.status)) {
        result.outcome =
            result.status == 401 ? PollResult::Outcome::Refused : PollResult::Outcome::BadStatus;
        return result;
    }
    m_responseText = m_http.responseText();
    // 204 is the service saying it has nothing to send: no orders.
    result.count =
        result.status == 204 ? std::optional<qint64>(0) : TmTexts::readCount(m_responseText);
    result.outcome = result.count ? PollResult::Outcome::Counted : PollResult::Outcome::Unreadable;
    return result;
}
