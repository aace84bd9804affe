#include "app/SweepOptions.h"

#include <gtest/gtest.h>

namespace {

struct OptionsCase
{
    QStringList arguments;
    SweepOptions::Action action;
    bool demo;
    QString demoFile;
};

class SweepOptionsTest : public ::testing::TestWithParam<OptionsCase>
{
};

TEST_P(SweepOptionsTest, ReadsTheCommandLine)
{
    const auto& c = GetParam();
    const SweepOptions o = SweepOptions::parse(c.arguments);
    EXPECT_EQ(o.action, c.action) << c.arguments.join(' ').toStdString();
    if (o.action == SweepOptions::Action::Run) {
        EXPECT_EQ(o.demo, c.demo);
        EXPECT_EQ(o.demoFile, c.demoFile);
    }
    EXPECT_EQ(o.error.isEmpty(), o.action != SweepOptions::Action::Fail);
}

using A = SweepOptions::Action;
INSTANTIATE_TEST_SUITE_P(
    CommandLines, SweepOptionsTest,
    ::testing::Values(
        OptionsCase{{}, A::Run, false, {}}, OptionsCase{{"--demo"}, A::Run, true, {}},
        OptionsCase{{"--demo", "/tmp/매장 데모.sqlite"}, A::Run, true, "/tmp/매장 데모.sqlite"},
        OptionsCase{{"--help"}, A::Help, false, {}},
        OptionsCase{{"--demo", "-h"}, A::Help, false, {}},
        OptionsCase{{"pos.sqlite"}, A::Fail, false, {}},
        OptionsCase{{"--demo", "a.sqlite", "b.sqlite"}, A::Fail, false, {}},
        OptionsCase{{"--demo", "--demo"}, A::Fail, false, {}},
        OptionsCase{{"--sql"}, A::Fail, false, {}}));

TEST(SweepOptions, UsageNamesBothWaysToRun)
{
    const QString usage = SweepOptions::usage();
    EXPECT_TRUE(usage.contains(QStringLiteral("IP.ini")));
    EXPECT_TRUE(usage.contains(QStringLiteral("--demo [FILE]")));
    EXPECT_TRUE(usage.contains(QStringLiteral("demo-pos.sqlite")));
}

} // namespace
