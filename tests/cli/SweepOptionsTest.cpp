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
        {{"restore", "a.sql"}, C::Restore, Area::None, {}},
        {{"optimise", "--yes"}, C::Optimise, Area::None, {}},
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

    const QStringList refused[] = {
        {"pos.sqlite"},
        {"--demo", "--demo"},
        {"list"},
        {"list", "deliveries", "--from", "2026-12-01"},
        {"list", "open-checks", "--yes"},
        {"list", "open-checks", "--from", "a", "--to", "b"},
        {"delete", "deliveries", "--check", "1"},
        {"delete", "deliveries", "--format", "csv"},
        {"list", "deliveries", "--format", "xml"},
        {"restore"},
        {"restore", "a.sql", "b.sql"},
        {"list", "open-checks", "--other-database"},
    };
    for (const QStringList& arguments : refused) {
        const SweepOptions o = SweepOptions::parse(arguments);
        EXPECT_EQ(o.action, SweepOptions::Action::Fail) << arguments.join(' ').toStdString();
        EXPECT_FALSE(o.error.isEmpty());
    }
    const SweepOptions o = SweepOptions::parse(
        {"list", "deliveries", "--to", "2 ", "--from", " 1", "--format", "json"});
    EXPECT_EQ(o.from + o.to, "12");
    EXPECT_EQ(o.format, SweepOptions::Format::Json);
    EXPECT_FALSE(o.otherDatabase);
    EXPECT_TRUE(SweepOptions::parse({"restore", "--other-database", "a.sql"}).otherDatabase);
}

} // namespace
