#include "app/SweepOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(SweepOptions, ReadsTheCommandLine)
{
    using A = SweepOptions::Action;
    const struct
    {
        QStringList arguments;
        A action;
        bool demo;
        QString demoFile;
    } cases[] = {
        {{}, A::Run, false, {}},
        {{"--demo"}, A::Run, true, {}},
        {{"--demo", "/tmp/매장 데모.sqlite"}, A::Run, true, "/tmp/매장 데모.sqlite"},
        {{"--help"}, A::Help, false, {}},
        {{"--demo", "-h"}, A::Help, false, {}},
        {{"pos.sqlite"}, A::Fail, false, {}},
        {{"--demo", "a.sqlite", "b.sqlite"}, A::Fail, false, {}},
        {{"--demo", "--demo"}, A::Fail, false, {}},
        {{"--sql"}, A::Fail, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const SweepOptions o = SweepOptions::parse(c.arguments);
        EXPECT_EQ(o.action, c.action);
        if (o.action == A::Run) {
            EXPECT_EQ(o.demo, c.demo);
            EXPECT_EQ(o.demoFile, c.demoFile);
        }
        EXPECT_EQ(o.error.isEmpty(), o.action != A::Fail);
    }

    const QString usage = SweepOptions::usage();
    EXPECT_TRUE(usage.contains(QStringLiteral("IP.ini")));
    EXPECT_TRUE(usage.contains(QStringLiteral("--demo [FILE]")));
    EXPECT_TRUE(usage.contains(QStringLiteral("demo-pos.sqlite")));
}

} // namespace
