#include "app/SweepOptions.h"

#include <gtest/gtest.h>

namespace {

using A = SweepOptions::Action;
using C = SweepOptions::Command;
using Area = SweepOptions::Area;

TEST(SweepOptions, ReadsTheCommandLineWithoutAmbiguity)
{
    const struct
    {
        QStringList arguments;
        A action;
        C command;
        Area area;
        QString demoFile;
    } cases[] = {
        {{}, A::Run, C::None, Area::None, {}},
        {{"--demo", "/tmp/매장 데모.sqlite"}, A::Run, C::None, Area::None, "/tmp/매장 데모.sqlite"},
        // A command word after --demo is the command, not the demo file.
        {{"--demo", "list", "deliveries"}, A::Command, C::List, Area::Deliveries, {}},
        {{"--demo", "pos.db", "delete", "open-checks", "--check", "1004", "--yes"},
         A::Command,
         C::Delete,
         Area::OpenChecks,
         "pos.db"},
        {{"restore", "a.sql"}, A::Command, C::Restore, Area::None, {}},
        {{"optimise", "--yes"}, A::Command, C::Optimise, Area::None, {}},
        {{"--demo", "-h"}, A::Help, C::None, Area::None, {}},
        {{"pos.sqlite"}, A::Fail, C::None, Area::None, {}},
        {{"--demo", "--demo"}, A::Fail, C::None, Area::None, {}},
        {{"list"}, A::Fail, C::List, Area::None, {}},
        {{"list", "deliveries", "--from", "2026-12-01"}, A::Fail, C::List, Area::None, {}},
        {{"list", "open-checks", "--yes"}, A::Fail, C::List, Area::None, {}},
        {{"list", "open-checks", "--from", "a", "--to", "b"}, A::Fail, C::List, Area::None, {}},
        {{"delete", "deliveries", "--format", "csv"}, A::Fail, C::Delete, Area::None, {}},
        {{"restore"}, A::Fail, C::Restore, Area::None, {}},
        {{"delete", "deliveries", "--check", "1"}, A::Fail, C::Delete, Area::None, {}},
        {{"list", "deliveries", "--format", "xml"}, A::Fail, C::List, Area::None, {}},
        {{"restore", "a.sql", "b.sql"}, A::Fail, C::Restore, Area::None, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const SweepOptions o = SweepOptions::parse(c.arguments);
        EXPECT_EQ(o.action, c.action);
        EXPECT_EQ(o.error.isEmpty(), o.action != A::Fail);
        if (o.action == A::Fail)
            continue;
        EXPECT_EQ(o.command, c.command);
        EXPECT_EQ(o.area, c.area);
        EXPECT_EQ(o.demoFile, c.demoFile);
    }
    const SweepOptions o =
        SweepOptions::parse({"list", "deliveries", "--to", "2", "--from", "1", "--format", "json"});
    EXPECT_EQ(o.from, "1");
    EXPECT_EQ(o.to, "2");
    EXPECT_EQ(o.format, SweepOptions::Format::Json);
}

} // namespace
