#pragma once

#include <QString>

// Plays the order alert. Returns at once; the sound plays on.
class AlertSound
{
public:
    virtual ~AlertSound() = default;
    virtual void play(const QString& file) = 0;
};
