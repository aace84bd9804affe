#include "agent/SoundEffectAlert.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

SoundEffectAlert::SoundEffectAlert() : m_effect(std::make_unique<QSoundEffect>()) {}

SoundEffectAlert::~SoundEffectAlert() = default;

void SoundEffectAlert::play(const QString& file)
{
    if (!QFileInfo::exists(file)) {
        QApplication::beep();
        return;
    }
    const QUrl source = QUrl::fromLocalFile(file);
    if (m_effect->source() != source)
        m_effect->setSource(source); // loads once; later alerts replay the loaded sound
    m_effect->play();
}
