#include "agent/AgentProgram.h"
#include "app/ProgramFolders.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    // The arguments are read through Qt (Unicode on Windows) by an application without a window
    // system, so a wrong call is told even where no display is.
    AgentOptions options;
    {
        const QCoreApplication reading(argc, argv);
        options = AgentOptions::parse(QCoreApplication::arguments().mid(1));
    }
    if (!options.valid) {
        std::fputs(AgentOptions::usage(), stderr);
        return 2;
    }
    QApplication app(argc, argv);
    // The same files as the window's: its log folder, its demo database.
    if (options.demo && options.demoFile.isEmpty())
        options.demoFile = ProgramFolders::defaultDemoFile();
    return runAgent(options, AgentProgram::defaultPlaces(ProgramFolders::logFolder()));
}
