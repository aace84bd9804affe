#pragma once

#include "agentcore/AgentSettings.h"
#include "agentcore/HttpRequest.h"
#include "agentcore/PollResult.h"
#include "core/Clock.h"
#include "json/JsonReader.h"

#include <QDateTime>
#include <QString>
#include <optional>

class Mod_DB;

// The agent's client of the ordering service: keeps an access token (password grant, renewed
// with the refresh grant shortly before its announced lifetime runs out) and asks for the number
// of the shop's waiting orders. Nothing here shows, plays or logs anything; a failed poll says
// why in its result, and the next poll simply tries again.
//
// Not thread-safe: one thread at a time (the agent's poll thread) uses an object; only cancel()
// may be called from another.
class Mod_TM
{
public:
    // A token is renewed this many seconds before its announced lifetime ends.
    static constexpr int kRenewMarginSeconds = 10;
    // Resolve, connect, send and receive time-out of a poll.
    static constexpr int kPollTimeoutMs = 5000;
    // Tests use short ones. The request keeps them for the token requests that follow.
    void setPollTimeoutMs(int ms) { m_pollTimeoutMs = ms; }

    // db is the program's connection, asked for the terminal's adapter address; may be null, in
    // which case no password grant can be made.
    Mod_TM(HttpRequest& http, Mod_DB* db, const Clock& clock = Clock::system());

    void setSettings(const AgentSettings& settings) { m_settings = settings; }
    const AgentSettings& settings() const { return m_settings; }

    // Afterwards AccessToken() and TokenType() hold the token to use: unchanged, renewed, or
    // empty when no grant ever succeeded.
    void EnsureToken();
    // Each stores the five token values and returns true, or stores nothing and returns false.
    // slot receives the answer as read.
    bool RequestPasswordToken(JsonValue& slot);
    bool RequestRefreshToken(JsonValue& slot);
    // Sets MacAddress() from the POS table (empty when the terminal has no row); false when the
    // database could not be reached or read.
    bool LoadPosMacAddress();

    // The number of the shop's orders waiting in the given states. A 401 answer means the
    // service no longer knows the token (RFC 6750 3.1): it is dropped, a new one is granted at
    // once (refresh first, then password) and the request is sent once more. Without a token no
    // count is asked for: the result names why there is none. Nothing is sent for a BaseUrl
    // that is no usable address.
    PollResult PollOrderCount(const QString& statusList, const QString& lookBackMinutes);

    // The Authorization value of a poll: the token type as the service gave it, except that any
    // casing of "bearer" is sent as "Bearer" (RFC 6749 5.1 makes the type case-insensitive).
    QString authorization() const;

    // Ends a request under way, and refuses later ones; for a program that is ending.
    void cancel() { m_http.cancel(); }

    const QString& AccessToken() const { return m_accessToken; }
    const QString& TokenType() const { return m_tokenType; }
    const QString& RefreshToken() const { return m_refreshToken; }
    // Empty means no token was ever obtained.
    const QString& ExpiresIn() const { return m_expiresIn; }
    const QDateTime& TokenIssuedAt() const { return m_tokenIssuedAt; }
    const QString& MacAddress() const { return m_macAddress; }
    const QString& RequestUrl() const { return m_requestUrl; }
    const QString& ResponseText() const { return m_responseText; }
    const JsonValue& TokenResponse() const { return m_tokenResponse; }

private:
    bool requestToken(const QByteArray& body, JsonValue& slot);
    bool tokenTrouble(PollResult::Outcome outcome, QString error, int status = 0,
                      bool timedOut = false);
    PollResult noToken() const;
    PollResult sendPoll(const QString& statusList, qint64 lookBackSeconds);
    void dropAccessToken();
    bool tokenDue() const;
    QDateTime nowInSeconds() const;

    HttpRequest& m_http;
    Mod_DB* m_db;
    const Clock& m_clock;
    JsonReader m_json;
    AgentSettings m_settings;
    int m_pollTimeoutMs = kPollTimeoutMs;

    QString m_requestUrl;
    QString m_responseText;
    JsonValue m_tokenResponse;
    QString m_accessToken;
    QString m_tokenType;
    QString m_refreshToken;
    QDateTime m_tokenIssuedAt;
    QString m_expiresIn;
    QString m_macAddress;
    std::optional<PollResult> m_tokenTrouble; // why the last grant tried failed
    bool m_reconnect = false; // the last read failed: the connection may be gone
};
