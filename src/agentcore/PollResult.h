#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <optional>

// What one order-count poll came to.
struct PollResult
{
    enum class Outcome
    {
        Counted,    // a 2xx answer that holds a count
        NoAnswer,   // transport failure or time-out (error says which)
        Refused,    // 401 even after a fresh token
        BadStatus,  // any other answer outside 2xx (status says which)
        Unreadable, // a 2xx answer that is not a whole number from 0 up
        BadBaseUrl, // BaseUrl of IP.ini is no usable address (error holds it); nothing was sent
        // No token, so no count was asked for:
        TerminalRefused,     // the token service refused the terminal (status, its error code)
        TokenServiceFailing, // no answer (timedOut), an error status or an unreadable answer
        DatabaseUnreadable,  // the terminal's row could not be read (error: the server's words)
    };
    Outcome outcome = Outcome::NoAnswer;
    std::optional<qint64> count; // set exactly for Counted
    int status = 0;
    bool timedOut = false;
    QString error;

    bool ok() const { return outcome == Outcome::Counted; }

    static PollResult failed(Outcome outcome, QString error, int status = 0, bool timedOut = false)
    {
        PollResult result;
        result.outcome = outcome;
        result.status = status;
        result.timedOut = timedOut;
        result.error = std::move(error);
        return result;
    }
};

Q_DECLARE_METATYPE(PollResult)

// What the tray tells of the polls so far.
struct PollState
{
    enum class Off
    {
        No,        // polling
        Disabled,  // PollEnabled is not "Y"
        NoBaseUrl, // no service address
    };
    Off off = Off::Disabled;
    std::optional<qint64> lastCount; // of the last successful poll; none before the first
    QDateTime lastSuccess;
    QDateTime failingSince; // the first failed poll since the last success; invalid while fine
    QString failure;        // why the last poll failed, in short Korean; empty while fine
};
