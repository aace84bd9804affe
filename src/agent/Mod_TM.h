#pragma once

#include "agent/AgentSettings.h"
#include "core/Clock.h"
#include "json/JsonReader.h"

#include <QDateTime>
#include <QString>
#include <optional>

class HttpRequest;
class Mod_DB;

// The agent's client of the ordering service: keeps an access token (password grant, renewed
// with the refresh grant shortly before its announced lifetime runs out) and asks for the number
// of the shop's waiting orders. Nothing here shows, plays or logs anything; every failure is
// swallowed and the next poll simply tries again.
class Mod_TM
{
public:
    // A token is renewed this many seconds before its announced lifetime ends.
    static constexpr int kRenewMarginSeconds = 10;
    // Resolve, connect, send and receive time-out of a poll.
    static constexpr int kPollTimeoutMs = 5000;

    // db is the program's connection, asked for the terminal's adapter address; may be null, in
    // which case no password grant can be made.
    Mod_TM(HttpRequest& http, Mod_DB* db, const Clock& clock = Clock::system());

    void setSettings(const AgentSettings& settings) { m_settings = settings; }
    const AgentSettings& settings() const { return m_settings; }
    bool pollEnabled() const { return m_settings.pollEnabled == QLatin1String("Y"); }

    // Afterwards AccessToken() and TokenType() hold the token to use: unchanged, renewed, or
    // empty when no grant ever succeeded.
    void EnsureToken();
    // Each stores the five token values and returns true, or stores nothing and returns false.
    // slot receives the answer as read.
    bool RequestPasswordToken(JsonValue& slot);
    bool RequestRefreshToken(JsonValue& slot);
    // Sets MacAddress() from the POS table (empty when the terminal has no row); false when the
    // query could not be run.
    bool LoadPosMacAddress();

    // The number of the shop's orders waiting in the given states, or nothing when no 2xx
    // answer arrived.
    std::optional<double> PollOrderCount(const QString& statusList, const QString& lookBackMinutes);

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
    bool tokenDue() const;
    QDateTime nowInSeconds() const;

    HttpRequest& m_http;
    Mod_DB* m_db;
    const Clock& m_clock;
    JsonReader m_json;
    AgentSettings m_settings;

    QString m_requestUrl;
    QString m_responseText;
    JsonValue m_tokenResponse;
    QString m_accessToken;
    QString m_tokenType;
    QString m_refreshToken;
    QDateTime m_tokenIssuedAt;
    QString m_expiresIn;
    QString m_macAddress;
};
