#include "app/MaintenanceProgram.h"

#include "cli/CommandRunner.h"
#include "core/ActivityLog.h"
#include "core/LocalAddress.h"
#include "core/Mod_Basic.h"
#include "db/Mod_DB.h"
#include "demo/DemoDatabase.h"
#include "window/FormControls.h"
#include "window/Frm_Sweep_1.h"
#include "window/QtMessageBoxes.h"
#include "window/QuitAfterFirstPaint.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>

int runSweep(const SweepOptions& options)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (options.action == SweepOptions::Action::Help) {
        out << SweepOptions::usage();
        return 0;
    }
    if (options.action == SweepOptions::Action::Fail) {
        err << "sweep: " << options.error << "\n\n" << SweepOptions::usage();
        return CommandRunner::WrongCommandLine;
    }

    DbTarget target = DbTarget::sqlServer(Mod_Basic::iniPath());
    if (options.demo) {
        QString error;
        const QString file = openOrCreateDemoDatabase(options.demoFile, &error);
        if (file.isEmpty()) {
            err << "sweep: " << error << '\n';
            return CommandRunner::Unreachable;
        }
        target = DbTarget::sqlite(file);
    }
    Mod_DB db(target);
    ActivityLog log(ActivityLog::defaultFolder());
    if (options.action == SweepOptions::Action::Command)
        return CommandRunner::run(options, FlowContext{db, log, localIpAddress}, out, err);

    registerKoreanFontFallbacks();
    QtMessageBoxes boxes;
    const bool quitAfterPaint = qEnvironmentVariableIntValue("SWEEP_QUIT_AFTER_FIRST_PAINT") == 1;
    return runMaintenanceWindow(WorkContext{db, log, boxes, localIpAddress},
                                [&](Frm_Sweep_1& window) {
                                    boxes.setWindow(&window);
                                    if (quitAfterPaint)
                                        quitAfterFirstPaint(window);
                                });
}

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
