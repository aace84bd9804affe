#include "app/SweepOptions.h"

#include "db/DemoDatabase.h"

SweepOptions SweepOptions::parse(const QStringList& arguments)
{
    SweepOptions options;
    const auto fail = [&](const QString& error) {
        options.action = Action::Fail;
        options.error = error;
        return options;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"--help" || argument == u"-h") {
            options.action = Action::Help;
            return options;
        }
        if (argument == u"--demo") {
            if (options.demo)
                return fail(QStringLiteral("--demo is given twice"));
            options.demo = true;
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(u'-'))
                options.demoFile = arguments[++i];
            continue;
        }
        if (argument.startsWith(u'-'))
            return fail(QStringLiteral("unknown option %1").arg(argument));
        return fail(options.demo
                        ? QStringLiteral("more than one demo database file: %1").arg(argument)
                        : QStringLiteral("unexpected argument %1 (a demo database file "
                                         "follows --demo)")
                              .arg(argument));
    }
    return options;
}

QString SweepOptions::usage()
{
    return QStringLiteral("Usage: sweep [--demo [FILE]]\n"
                          "\n"
                          "Opens the maintenance window of the POS database.\n"
                          "\n"
                          "  (no arguments)  connect to the local SQL Server; the database name "
                          "(DBNAME) is read\n"
                          "                  from IP.ini beside the program, entries go to the "
                          "daily activity log\n"
                          "  --demo [FILE]   open the embedded SQLite demo database FILE instead, "
                          "creating it with\n"
                          "                  sample rows when it does not exist (default: %1)\n"
                          "  -h, --help      show this text\n"
                          "\n"
                          "Environment: SWEEP_QUIT_AFTER_FIRST_PAINT=1 ends the program once the "
                          "window has been\n"
                          "painted (start-up timing).\n")
        .arg(defaultDemoDatabasePath());
}
