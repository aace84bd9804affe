#pragma once

#include "agent/AlertSound.h"

#include <QStringList>

// Remembers what would have been played.
struct RecordingSound final : AlertSound
{
    void play(const QString& file) override { played.append(file); }
    QStringList played;
};
