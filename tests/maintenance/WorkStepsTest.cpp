#include "maintenance/WorkSteps.h"

#include <gtest/gtest.h>

namespace {

struct GateCase
{
    const char* count;
    bool opens;
};

void PrintTo(const GateCase& c, std::ostream* os)
{
    *os << '"' << c.count << '"';
}

class CountGate : public ::testing::TestWithParam<GateCase>
{
};

TEST_P(CountGate, OnlyAPositiveWholeNumberOpensTheDelete)
{
    EXPECT_EQ(countAllowsDelete(QString::fromUtf8(GetParam().count)), GetParam().opens)
        << GetParam().count;
}

INSTANTIATE_TEST_SUITE_P(Texts, CountGate,
                         ::testing::Values(GateCase{"1", true}, GateCase{"32766", true},
                                           GateCase{" 5 ", true}, GateCase{"0", false},
                                           GateCase{"", false}, GateCase{"-1", false},
                                           GateCase{"abc", false}, GateCase{"3건", false},
                                           GateCase{"2.5", false}, GateCase{"1e3", false},
                                           GateCase{"   ", false}));

} // namespace
