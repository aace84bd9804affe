#include "cli/SweepOptions.h"

#include <gtest/gtest.h>

namespace {

using C = SweepOptions::Command;
using Area = SweepOptions::Area;

TEST(SweepOptions, ReadsTheCommandLineWithoutAmbiguity)
{
    // {arguments, command, area, demo file}
    const std::tuple<QStringList, C, Area, QString> accepted[] = {
        {{"--demo", "/tmp/매장 데모.sqlite"}, C::None, Area::None, "/tmp/매장 데모.sqlite"},
        // A command word after --demo is the command, not the demo file.
        {{"--demo", "list", "deliveries"}, C::List, Area::Deliveries, {}},
        {{"--demo", "pos.db", "delete", "open-checks", "--check", "1004", "--yes"},
         C::Delete,
         Area::OpenChecks,
         "pos.db"},
        {{"--demo", "./optimse"}, C::None, Area::None, "./optimse"},
        {{"restore", "a.sql"}, C::Restore, Area::None, {}},
        {{"optimise", "--yes"}, C::Optimise, Area::None, {}},
        {{"status", "--format", "json"}, C::Status, Area::None, {}},
    };
    for (const auto& [arguments, command, area, demoFile] : accepted) {
        const SweepOptions o = SweepOptions::parse(arguments);
        EXPECT_EQ(o.action,
                  command == C::None ? SweepOptions::Action::Run : SweepOptions::Action::Command)
            << o.error.toStdString();
        EXPECT_EQ(o.command, command);
        EXPECT_EQ(o.area, area);
        EXPECT_EQ(o.demoFile, demoFile);
    }
    EXPECT_EQ(SweepOptions::parse({"--demo", "-h"}).action, SweepOptions::Action::Help);

    // {arguments, what the error names}
    const std::pair<QStringList, QString> refused[] = {
        {{"pos.sqlite"}, "pos.sqlite"},
        {{"--demo", "--demo"}, "--demo"},
        {{"lst", "open-checks"}, "lst"},
        // Not a path, so not a file: a mistyped command.
        {{"--demo", "optimse"}, "optimse"},
        {{"--demo", "d.sqlite", "lst", "open-checks"}, "lst"},
        {{"list"}, "open-checks"},
        {{"list", "deliveries", "--from", "2026-12-01"}, "--to"},
        {{"list", "open-checks", "--yes"}, "--yes"},
        {{"list", "open-checks", "--from", "2026-12-01", "--to", "2026-12-02"}, "deliveries"},
        {{"list", "deliveries", "--from", "2024-02-30", "--to", "2024-03-01"}, "2024-02-30"},
        {{"list", "deliveries", "--from", "2024/6/13", "--to", "20240611"}, "2024-06-11"},
        {{"delete", "deliveries", "--check", "1"}, "--check"},
        {{"delete", "open-checks", "--check", "1003", "--check", "1005", "--yes"}, "--check"},
        {{"optimise", "--yes", "-y"}, "--yes"},
        {{"list", "deliveries", "--format", "csv", "--format", "json"}, "--format"},
        {{"delete", "deliveries", "--format", "csv"}, "--format"},
        {{"list", "deliveries", "--format", "xml"}, "--format"},
        {{"status", "--format", "csv"}, "json"},
        {{"status", "--yes"}, "--yes"},
        {{"restore"}, "restore"},
        {{"restore", "a.sql", "b.sql"}, "b.sql"},
        {{"list", "open-checks", "--other-database"}, "--other-database"},
    };
    for (const auto& [arguments, named] : refused) {
        const SweepOptions o = SweepOptions::parse(arguments);
        EXPECT_EQ(o.action, SweepOptions::Action::Fail) << arguments.join(' ').toStdString();
        EXPECT_TRUE(o.error.contains(named)) << o.error.toStdString();
    }
    // Dates in any form the date boxes read, blanks around them dropped.
    const SweepOptions o = SweepOptions::parse(
        {"list", "deliveries", "--to", "2024/6/2 ", "--from", " 20240601", "--format", "json"});
    EXPECT_EQ(o.from + ' ' + o.to, "2024-06-01 2024-06-02") << o.error.toStdString();
    EXPECT_EQ(o.format, SweepOptions::Format::Json);
    EXPECT_FALSE(o.otherDatabase);
    EXPECT_TRUE(SweepOptions::parse({"restore", "--other-database", "a.sql"}).otherDatabase);
}

} // namespace
