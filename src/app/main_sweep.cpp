#include "app/MaintenanceProgram.h"
#include "cli/Console.h"
#include "cli/SweepOptions.h"

#include <QApplication>
#include <memory>

int main(int argc, char** argv)
{
    holdClosedStandardStreams();
    // The name places the default demo database; set before anything asks for that path.
    QCoreApplication::setApplicationName(QStringLiteral("sweep"));
    // Only the window needs a display: the command line, --help and a wrong call run without.
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    const bool window = SweepOptions::parse(raw).action == SweepOptions::Action::Run;
    if (window && !displayAvailable())
        return refuseWithoutDisplay();
    if (!window)
        attachParentConsole();
    const std::unique_ptr<QCoreApplication> app =
        window ? std::make_unique<QApplication>(argc, argv)
               : std::make_unique<QCoreApplication>(argc, argv);
    // The application's own reading of the arguments is Unicode on every system.
    return runSweep(SweepOptions::parse(QCoreApplication::arguments().mid(1)));
}
