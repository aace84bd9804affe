#include "app/Frm_Sweep_1.h"
#include "app/MaintenanceProgram.h"
#include "app/QtMessageBoxes.h"
#include "app/SweepOptions.h"
#include "db/ActivityLog.h"
#include "db/DemoDatabase.h"
#include "db/LocalAddress.h"
#include "db/Mod_Basic.h"
#include "db/Mod_DB.h"
#include "maintenance/FormControls.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    // The name places the default demo database; set before anything asks for that path.
    QCoreApplication::setApplicationName(QStringLiteral("sweep"));
    // Read before the application starts, so --help works without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const SweepOptions options = SweepOptions::parse(arguments);
    if (options.action == SweepOptions::Action::Help) {
        std::fputs(qPrintable(SweepOptions::usage()), stdout);
        return 0;
    }
    if (options.action == SweepOptions::Action::Fail) {
        std::fprintf(stderr, "sweep: %s\n\n%s", qPrintable(options.error),
                     qPrintable(SweepOptions::usage()));
        return 2;
    }

    QApplication app(argc, argv);

    DbTarget target = DbTarget::sqlServer(Mod_Basic::iniPath());
    if (options.demo) {
        QString error;
        const QString file = openOrCreateDemoDatabase(options.demoFile, &error);
        if (file.isEmpty()) {
            std::fprintf(stderr, "sweep: %s\n", qPrintable(error));
            return 1;
        }
        target = DbTarget::sqlite(file);
    }

    registerKoreanFontFallbacks();
    Mod_DB db(target);
    ActivityLog log(ActivityLog::defaultFolder());
    QtMessageBoxes boxes;
    const bool quitAfterPaint = qEnvironmentVariableIntValue("SWEEP_QUIT_AFTER_FIRST_PAINT") == 1;
    return runMaintenanceWindow(WorkContext{db, log, boxes, localIpAddress},
                                [&](Frm_Sweep_1& window) {
                                    boxes.setWindow(&window);
                                    if (quitAfterPaint)
                                        quitAfterFirstPaint(window);
                                });
}
