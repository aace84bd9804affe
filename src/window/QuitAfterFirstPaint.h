#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

// Ends the program once the watched window has been painted (after the paint, not from inside
// it): sweep's start-up measurement, and the bare reference programs it is compared with, which
// include this header and link nothing else of ours.
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
