#include "maintenance/DateNormalise.h"

#include <gtest/gtest.h>
#include <utility>

namespace {

TEST(DateNormalise, ReadsDatesAndKeepsEverythingElseAsTyped)
{
    const std::pair<const char*, const char*> cases[] = {
        // Read as dates.
        {"2017-02-15", "2017-02-15"},
        {"2017/2/15", "2017-02-15"},
        {"2017.2.5", "2017-02-05"},
        {"20170217", "2017-02-17"},
        {" 2017/02/17 ", "2017-02-17"},
        {"2016-2-29", "2016-02-29"},
        // Kept as typed.
        {"", ""},
        {"   ", "   "},
        {"2017-02-30", "2017-02-30"},
        {"20170230", "20170230"},
        {"2017-13-01", "2017-13-01"},
        {"2017-2/15", "2017-2/15"},
        {"17-02-15", "17-02-15"},
        {"2017-002-15", "2017-002-15"},
        {"2017021", "2017021"},
        {"오늘", "오늘"},
        {"2017-02-15'--", "2017-02-15'--"},
        {"2017-02-15 10:00", "2017-02-15 10:00"},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(normaliseDate(QString::fromUtf8(typed)), QString::fromUtf8(expected)) << typed;
}

} // namespace
