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
        Counted,    // a 2xx answer whose count could be read
        NoAnswer,   // transport failure or time-out (error says which)
        Refused,    // 401 even after a fresh token
        BadStatus,  // any other answer outside 2xx (status says which)
        Unreadable, // a 2xx answer with a count too large to hold
    };
    Outcome outcome = Outcome::NoAnswer;
    std::optional<double> count; // set exactly for Counted
    int status = 0;
    QString error;

    bool ok() const { return outcome == Outcome::Counted; }
};

Q_DECLARE_METATYPE(PollResult)

// What the tray tells of the polls so far.
struct PollState
{
    bool enabled = false;
    std::optional<double> lastCount; // of the last successful poll; none before the first
    QDateTime lastSuccess;
    QDateTime failingSince; // the first failed poll since the last success; invalid while fine
    QString failure;        // why the last poll failed, in short Korean; empty while fine
};
