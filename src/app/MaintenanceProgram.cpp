#include "app/MaintenanceProgram.h"

#include "app/Frm_Sweep_1.h"
#include "app/QuitAfterFirstPaint.h"

#include <QApplication>

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

void quitAfterFirstPaint(Frm_Sweep_1& window)
{
    window.installEventFilter(new QuitAfterFirstPaint(&window));
}
