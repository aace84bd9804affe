#include "agent/SetTopMost.h"

#include <QWidget>

void SetTopMost(QWidget* window, bool on)
{
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != on) {
        // Changing a flag hides a shown window; put it back where it was.
        const bool visible = window->isVisible();
        window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
        if (visible)
            window->show();
    }
    if (on)
        window->raise();
}
