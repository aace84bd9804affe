#include "cli/SweepOptions.h"

#include "demo/DemoDatabase.h"

#include <QMap>

namespace {

const QMap<QString, SweepOptions::Command> commandWords = {
    {QStringLiteral("list"), SweepOptions::Command::List},
    {QStringLiteral("delete"), SweepOptions::Command::Delete},
    {QStringLiteral("optimise"), SweepOptions::Command::Optimise},
    {QStringLiteral("optimize"), SweepOptions::Command::Optimise},
    {QStringLiteral("restore"), SweepOptions::Command::Restore},
};

const QMap<QString, SweepOptions::Area> areaWords = {
    {QStringLiteral("open-checks"), SweepOptions::Area::OpenChecks},
    {QStringLiteral("payment-cancel"), SweepOptions::Area::PaymentCancel},
    {QStringLiteral("deliveries"), SweepOptions::Area::Deliveries},
};

const QMap<QString, SweepOptions::Format> formatWords = {
    {QStringLiteral("table"), SweepOptions::Format::Table},
    {QStringLiteral("csv"), SweepOptions::Format::Csv},
    {QStringLiteral("json"), SweepOptions::Format::Json},
};

} // namespace

bool SweepOptions::isCommandWord(const QString& word)
{
    return commandWords.contains(word);
}

SweepOptions SweepOptions::parse(const QStringList& arguments)
{
    SweepOptions options;
    const auto fail = [&](const QString& error) {
        options.action = Action::Fail;
        options.error = error;
        return options;
    };
    // An option's value: the next argument, which must be there.
    qsizetype i = 0;
    const auto value = [&](QString& into) {
        if (i + 1 >= arguments.size())
            return false;
        into = arguments[++i];
        return true;
    };

    for (; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"--help" || argument == u"-h") {
            options.action = Action::Help;
            return options;
        }
        if (argument == u"--demo") {
            if (options.demo)
                return fail(QStringLiteral("--demo 가 두 번 있습니다"));
            options.demo = true;
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(u'-') &&
                !isCommandWord(arguments[i + 1]) && options.command == Command::None)
                options.demoFile = arguments[++i];
            continue;
        }
        if (options.command != Command::None) {
            if (argument == u"--yes" || argument == u"-y") {
                options.yes = true;
                continue;
            }
            if (argument == u"--other-database") {
                options.otherDatabase = true;
                continue;
            }
            if (argument == u"--from" || argument == u"--to" || argument == u"--check") {
                QString& into = argument == u"--from" ? options.from
                                : argument == u"--to" ? options.to
                                                      : options.check;
                // Blanks around a value are never part of it: the count and the delete agree.
                if (!value(into) || (into = into.trimmed()).isEmpty())
                    return fail(QStringLiteral("%1 뒤에 값이 필요합니다").arg(argument));
                continue;
            }
            if (argument == u"--format") {
                QString word;
                if (!value(word) || !formatWords.contains(word))
                    return fail(QStringLiteral("--format 은 table, csv, json 중 하나입니다"));
                options.format = formatWords.value(word);
                continue;
            }
        }
        if (argument.startsWith(u'-'))
            return fail(QStringLiteral("알 수 없는 옵션입니다: %1").arg(argument));
        if (options.command == Command::None && isCommandWord(argument)) {
            options.command = commandWords.value(argument);
            continue;
        }
        if ((options.command == Command::List || options.command == Command::Delete) &&
            options.area == Area::None) {
            if (!areaWords.contains(argument))
                return fail(QStringLiteral("알 수 없는 작업 영역입니다: %1 (open-checks, "
                                           "payment-cancel, deliveries)")
                                .arg(argument));
            options.area = areaWords.value(argument);
            continue;
        }
        if (options.command == Command::Restore && options.restoreFile.isEmpty()) {
            options.restoreFile = argument;
            continue;
        }
        if (options.command != Command::None)
            return fail(QStringLiteral("알 수 없는 인수입니다: %1").arg(argument));
        return fail(options.demo
                        ? QStringLiteral("데모 데이터베이스 파일이 둘 이상입니다: %1").arg(argument)
                        : QStringLiteral("알 수 없는 명령입니다: %1").arg(argument));
    }

    if (options.command == Command::None)
        return options;
    options.action = Action::Command;
    const bool listOrDelete =
        options.command == Command::List || options.command == Command::Delete;
    if (listOrDelete && options.area == Area::None)
        return fail(
            QStringLiteral("작업 영역을 지정해 주세요: open-checks, payment-cancel, deliveries"));
    if (options.command == Command::Restore && options.restoreFile.isEmpty())
        return fail(QStringLiteral("restore 에는 보관 파일을 지정해야 합니다"));
    if (options.from.isEmpty() != options.to.isEmpty())
        return fail(QStringLiteral("--from 과 --to 는 함께 지정해야 합니다"));
    if (!options.from.isEmpty() && options.area != Area::Deliveries)
        return fail(QStringLiteral("--from, --to 는 deliveries 에만 쓸 수 있습니다"));
    if (!options.check.isEmpty() &&
        (options.command != Command::Delete || options.area != Area::OpenChecks))
        return fail(QStringLiteral("--check 는 delete open-checks 에만 쓸 수 있습니다"));
    if (options.yes && options.command != Command::Delete && options.command != Command::Optimise)
        return fail(QStringLiteral("--yes 는 delete, optimise 에만 쓸 수 있습니다"));
    if (options.otherDatabase && options.command != Command::Restore)
        return fail(QStringLiteral("--other-database 는 restore 에만 쓸 수 있습니다"));
    if (options.format != Format::Table && options.command != Command::List)
        return fail(QStringLiteral("--format 은 list 에만 쓸 수 있습니다"));
    return options;
}

QString SweepOptions::usage()
{
    return QStringLiteral(
               "Usage: sweep [--demo [FILE]] [COMMAND ...]\n"
               "\n"
               "Without a command, opens the maintenance window of the POS database.\n"
               "\n"
               "  (no arguments)  connect to the local SQL Server; the database name (DBNAME) "
               "is read\n"
               "                  from IP.ini beside the program, entries go to the daily "
               "activity log\n"
               "  --demo [FILE]   use the embedded SQLite demo database FILE instead, creating "
               "it with\n"
               "                  sample rows when it does not exist (default: %1)\n"
               "  -h, --help      show this text\n"
               "\n"
               "Commands (no window; for remote support and scheduled maintenance):\n"
               "  list AREA [--format table|csv|json]\n"
               "                  the rows the window lists; AREA is open-checks, "
               "payment-cancel or\n"
               "                  deliveries [--from DATE --to DATE]\n"
               "  delete AREA [--yes]\n"
               "                  without --yes only says how many rows would go; with it "
               "deletes them,\n"
               "                  keeping a copy in the archive folder. open-checks takes "
               "[--check NUMBER],\n"
               "                  deliveries [--from DATE --to DATE]\n"
               "  optimise [--yes]\n"
               "                  rebuilds every index (without --yes only says so)\n"
               "  restore FILE [--other-database]\n"
               "                  checks the whole archive file, then puts its rows back, all "
               "or none;\n"
               "                  a file of another database only with --other-database\n"
               "\n"
               "Exit codes: 0 done, 1 database unreachable, 2 wrong command line, 3 the "
               "statement or\n"
               "restore failed (nothing changed), 4 the connection went during the commit "
               "(outcome unknown).\n"
               "\n"
               "Examples:\n"
               "  sweep list deliveries --from 2026-12-01 --to 2026-12-05\n"
               "  sweep list open-checks --format csv > open-checks.csv\n"
               "  sweep delete open-checks --check 1004 --yes\n"
               "  sweep optimise --yes            (nightly, from Task Scheduler or cron)\n"
               "  sweep restore \"%2\"\n"
               "  sweep --demo list payment-cancel --format json\n"
               "\n"
               "Environment: SWEEP_QUIT_AFTER_FIRST_PAINT=1 ends the program once the window "
               "has been\n"
               "painted (start-up timing).\n")
        .arg(defaultDemoDatabasePath(),
             QStringLiteral("C:\\DB_Log\\archive\\20261206-105729-deliveries.sql"));
}
