#pragma once

#include "agent/AlertSound.h"

#include <QStringList>

// Remembers what would have been played.
class RecordingSound final : public AlertSound
{
public:
    void play(const QString& file) override { played.append(file); }
    QStringList played;
};
