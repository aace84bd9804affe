#include "app/MaintenanceProgram.h"

#include "app/Frm_Sweep_1.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

int runMaintenanceWindow(WorkContext context, const std::function<void(Frm_Sweep_1&)>& shown)
{
    Frm_Sweep_1 window(std::move(context));
    if (!window.Form_Load())
        return 1;
    window.show();
    if (shown)
        shown(window);
    return QApplication::exec();
}

namespace {

class FirstPaintQuitter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // After the paint has been delivered, not from inside it.
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

} // namespace

void quitAfterFirstPaint(Frm_Sweep_1& window)
{
    window.installEventFilter(new FirstPaintQuitter(&window));
}
