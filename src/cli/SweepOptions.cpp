#include "cli/SweepOptions.h"

#include "cli/CliTexts.h"
#include "operations/DateNormalise.h"

#include <QDate>
#include <QMap>
#include <QSet>
#include <utility>

namespace {

const QMap<QString, SweepOptions::Command> commandWords = {
    {QStringLiteral("list"), SweepOptions::Command::List},
    {QStringLiteral("delete"), SweepOptions::Command::Delete},
    {QStringLiteral("optimise"), SweepOptions::Command::Optimise},
    {QStringLiteral("optimize"), SweepOptions::Command::Optimise},
    {QStringLiteral("restore"), SweepOptions::Command::Restore},
    {QStringLiteral("status"), SweepOptions::Command::Status},
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

bool SweepOptions::isDemoFile(const QString& word)
{
    return !word.startsWith(u'-') &&
           (word.contains(u'/') || word.contains(u'\\') || word.contains(u'.'));
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
    QSet<QString> seen;
    bool demoWordPending = false; // the argument just before was --demo

    for (; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const bool afterDemo = std::exchange(demoWordPending, false);
        if (argument == u"--help" || argument == u"-h") {
            options.action = Action::Help;
            return options;
        }
        if (argument.startsWith(u'-')) {
            // -y is --yes: both spellings count as one option.
            const QString name = argument == u"-y" ? QStringLiteral("--yes") : argument;
            if (seen.contains(name))
                return fail(CliTexts::repeatedOption(name));
            seen.insert(name);
        }
        if (argument == u"--demo") {
            options.demo = true;
            if (options.command == Command::None && i + 1 < arguments.size() &&
                isDemoFile(arguments[i + 1]))
                options.demoFile = arguments[++i];
            else
                demoWordPending = true;
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
                    return fail(CliTexts::valueMissing(argument));
                if (argument != u"--check") {
                    const QString date = normaliseDate(into);
                    if (!QDate::fromString(date, QStringLiteral("yyyy-MM-dd")).isValid())
                        return fail(CliTexts::notADate(into));
                    into = date;
                }
                continue;
            }
            if (argument == u"--format") {
                QString word;
                const bool csvToo = options.command != Command::Status;
                if (!value(word) || !formatWords.contains(word) ||
                    (!csvToo && formatWords.value(word) == Format::Csv))
                    return fail(CliTexts::formatWords(csvToo));
                options.format = formatWords.value(word);
                continue;
            }
        }
        if (argument.startsWith(u'-'))
            return fail(CliTexts::unknownOption(argument));
        if (options.command == Command::None) {
            if (!commandWords.contains(argument))
                return fail(afterDemo ? CliTexts::unknownCommandAfterDemo(argument)
                                      : CliTexts::unknownCommand(argument));
            options.command = commandWords.value(argument);
            continue;
        }
        if ((options.command == Command::List || options.command == Command::Delete) &&
            options.area == Area::None) {
            if (!areaWords.contains(argument))
                return fail(CliTexts::unknownArea(argument));
            options.area = areaWords.value(argument);
            continue;
        }
        if (options.command == Command::Restore && options.restoreFile.isEmpty()) {
            options.restoreFile = argument;
            continue;
        }
        return fail(CliTexts::unknownArgument(argument));
    }

    if (options.command == Command::None)
        return options;
    options.action = Action::Command;
    const bool listOrDelete =
        options.command == Command::List || options.command == Command::Delete;
    if (listOrDelete && options.area == Area::None)
        return fail(CliTexts::areaMissing);
    if (options.command == Command::Restore && options.restoreFile.isEmpty())
        return fail(CliTexts::restoreFileMissing);
    if (options.from.isEmpty() != options.to.isEmpty())
        return fail(CliTexts::datesTogether);
    if (!options.from.isEmpty() && options.area != Area::Deliveries)
        return fail(CliTexts::datesOnlyForDeliveries);
    // The dates are yyyy-mm-dd by now, so their texts order as the days do.
    if (options.from > options.to)
        return fail(CliTexts::reversedDates(options.from, options.to));
    if (!options.check.isEmpty() &&
        (options.command != Command::Delete || options.area != Area::OpenChecks))
        return fail(CliTexts::checkOnlyForOpenChecks);
    if (options.yes && options.command != Command::Delete && options.command != Command::Optimise)
        return fail(CliTexts::yesOnlyForChanges);
    if (options.otherDatabase && options.command != Command::Restore)
        return fail(CliTexts::otherDatabaseOnlyForRestore);
    if (seen.contains(QStringLiteral("--format")) && options.command != Command::List &&
        options.command != Command::Status)
        return fail(CliTexts::formatOnlyForLists);
    return options;
}
