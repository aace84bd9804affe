#pragma once

#include <QDateTime>

// Everything that reads the clock asks one of these, so tests can move time across midnight or
// past a token's lifetime without waiting.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    // The local wall clock.
    static const Clock& system();
};
