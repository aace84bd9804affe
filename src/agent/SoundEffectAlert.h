#pragma once

#include "agent/AlertSound.h"

#include <memory>

class QSoundEffect;

// The program's AlertSound. A missing sound file still gets the system's beep, so an alert
// never goes by silently.
class SoundEffectAlert final : public AlertSound
{
public:
    SoundEffectAlert();
    ~SoundEffectAlert() override;
    void play(const QString& file) override;

private:
    std::unique_ptr<QSoundEffect> m_effect;
};
