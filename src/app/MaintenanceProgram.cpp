#include "app/MaintenanceProgram.h"

#include "app/ProgramFolders.h"
#include "archive/ArchiveUpkeep.h"
#include "cli/CliTexts.h"
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
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

// The demo database a command line names; its folder must be there, so a mistyped path is an
// error rather than a new database somewhere unexpected.
QString demoFile(const SweepOptions& options, ConsoleStream& err)
{
    if (options.demoFile.isEmpty())
        return ProgramFolders::defaultDemoFile();
    const QDir folder = QFileInfo(options.demoFile).absoluteDir();
    if (!folder.exists()) {
        err << "sweep: " << CliTexts::demoFolderMissing(QDir::toNativeSeparators(folder.path()))
            << '\n';
        return QString();
    }
    return options.demoFile;
}

} // namespace

bool displayAvailable()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    return false;
#endif
}

int refuseWithoutDisplay()
{
    ConsoleStream err(stderr);
    err << CliTexts::needsDisplay << '\n';
    err.flush();
    return CommandRunner::WrongCommandLine;
}

int runSweep(const SweepOptions& options)
{
    ConsoleStream out(stdout);
    ConsoleStream err(stderr);
    if (options.action == SweepOptions::Action::Help) {
        out << CliTexts::usage(ProgramFolders::defaultDemoFile());
        if (out.flush())
            return CommandRunner::Done;
        err << CliTexts::outputFailed(out.error()) << '\n';
        err.flush();
        return CommandRunner::Failed;
    }
    if (options.action == SweepOptions::Action::Fail) {
        err << "sweep: " << options.error << '\n' << CliTexts::seeHelp << '\n';
        err.flush();
        return CommandRunner::WrongCommandLine;
    }

    DbTarget target = DbTarget::sqlServer(Mod_Basic::iniPath());
    if (options.demo) {
        const QString wanted = demoFile(options, err);
        if (wanted.isEmpty()) {
            err.flush();
            return CommandRunner::WrongCommandLine;
        }
        QString error;
        const QString file = openOrCreateDemoDatabase(wanted, &error);
        if (file.isEmpty()) {
            err << "sweep: " << error << '\n';
            err.flush();
            return CommandRunner::Unreachable;
        }
        target = DbTarget::sqlite(file);
    }
    Mod_DB db(target);
    ActivityLog log(ProgramFolders::logFolder());
    // The status report only reads: the archive's upkeep (and its log entries) waits for a start
    // that may change something.
    if (options.command != SweepOptions::Command::Status)
        ArchiveUpkeep::atStart(
            target, log, localIpAddress,
            ArchiveUpkeep::keepDays(Mod_Basic::Read_Ini(
                Mod_Basic::localSection(), QStringLiteral("ARCHIVE_DAYS"), Mod_Basic::iniPath())));
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
