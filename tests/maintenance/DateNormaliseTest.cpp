#include "maintenance/DateNormalise.h"

#include <gtest/gtest.h>

namespace {

struct DateCase
{
    const char* typed;
    const char* expected;
};

void PrintTo(const DateCase& c, std::ostream* os)
{
    *os << '"' << c.typed << '"';
}

class DateNormalise : public ::testing::TestWithParam<DateCase>
{
};

TEST_P(DateNormalise, ReadsDatesAndKeepsEverythingElseAsTyped)
{
    EXPECT_EQ(normaliseDate(QString::fromUtf8(GetParam().typed)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Readable, DateNormalise,
    ::testing::Values(DateCase{"2017-02-15", "2017-02-15"}, DateCase{"2017/2/15", "2017-02-15"},
                      DateCase{"2017.2.5", "2017-02-05"}, DateCase{"2017-12-31", "2017-12-31"},
                      DateCase{"20170217", "2017-02-17"}, DateCase{" 2017/02/17 ", "2017-02-17"},
                      DateCase{"2016-2-29", "2016-02-29"}));

INSTANTIATE_TEST_SUITE_P(
    KeptAsTyped, DateNormalise,
    ::testing::Values(DateCase{"", ""}, DateCase{"   ", "   "},
                      DateCase{"2017-02-30", "2017-02-30"}, DateCase{"20170230", "20170230"},
                      DateCase{"2017-13-01", "2017-13-01"}, DateCase{"2017-2/15", "2017-2/15"},
                      DateCase{"17-02-15", "17-02-15"}, DateCase{"2017-002-15", "2017-002-15"},
                      DateCase{"2017021", "2017021"}, DateCase{"오늘", "오늘"},
                      DateCase{"2017-02-15'--", "2017-02-15'--"},
                      DateCase{"2017-02-15; delete from DTD", "2017-02-15; delete from DTD"},
                      DateCase{"2017-02-15 10:00", "2017-02-15 10:00"}));

} // namespace
