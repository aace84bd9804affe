#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

// Ends the reference programs once their window has been painted, as sweep does for the same
// measurement. Header-only, so the references link nothing of ours.
class QuitAfterFirstPaint : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};
