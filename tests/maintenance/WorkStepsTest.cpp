#include "maintenance/WorkSteps.h"

#include <gtest/gtest.h>
#include <utility>

namespace {

TEST(CountGate, OnlyAPositiveWholeNumberOpensTheDelete)
{
    const std::pair<const char*, bool> counts[] = {
        {"1", true},    {"32766", true}, {" 5 ", true},  {"0", false},
        {"", false},    {"-1", false},   {"abc", false}, {"3건", false},
        {"2.5", false}, {"1e3", false},  {"   ", false},
    };
    for (const auto& [count, opens] : counts)
        EXPECT_EQ(countAllowsDelete(QString::fromUtf8(count)), opens) << '"' << count << '"';
}

} // namespace
