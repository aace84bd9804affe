#include "maintenance/DateTimeText.h"

#include <gtest/gtest.h>

namespace {

struct GridDateCase
{
    const char* input;
    const char* expected;
};

class GridDateTimeTextTest : public ::testing::TestWithParam<GridDateCase>
{
};

TEST_P(GridDateTimeTextTest, WritesTheGridPatternOrLeavesTheTextAlone)
{
    const auto& c = GetParam();
    EXPECT_EQ(gridDateTimeText(QString::fromUtf8(c.input), DateTimeSeparators{}),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Texts, GridDateTimeTextTest,
                         ::testing::Values(
                             // The form query results carry.
                             GridDateCase{"2026-12-06 09:30:05", "2026/12/06 09:30:05"},
                             GridDateCase{"2017-02-15 23:59:59", "2017/02/15 23:59:59"},
                             // Midnight and dates without a time of day show 00:00:00.
                             GridDateCase{"2017-02-15 00:00:00", "2017/02/15 00:00:00"},
                             GridDateCase{"2017-02-15", "2017/02/15 00:00:00"},
                             // Short forms, fractions and the ISO T are still dates.
                             GridDateCase{"2017-2-5 7:05", "2017/02/05 07:05:00"},
                             GridDateCase{"2017/02/15 13:04:09", "2017/02/15 13:04:09"},
                             GridDateCase{"2017-02-15T13:04:09.123", "2017/02/15 13:04:09"},
                             GridDateCase{"2024-02-29 12:00:00", "2024/02/29 12:00:00"},
                             // Not dates: written unchanged, blanks included.
                             GridDateCase{"", ""}, GridDateCase{"   ", "   "},
                             GridDateCase{"2017-02-30 10:00:00", "2017-02-30 10:00:00"},
                             GridDateCase{"2023-02-29", "2023-02-29"},
                             GridDateCase{"2017-02-15 25:00:00", "2017-02-15 25:00:00"},
                             GridDateCase{"2017-02/15", "2017-02/15"},
                             GridDateCase{"배달 메모", "배달 메모"},
                             GridDateCase{"20170215", "20170215"},
                             GridDateCase{"12:30:00", "12:30:00"},
                             GridDateCase{"2017-02-15 10:00:00 오후", "2017-02-15 10:00:00 오후"}));

TEST(GridDateTimeText, UsesTheGivenSeparators)
{
    EXPECT_EQ(
        gridDateTimeText(QStringLiteral("2017-02-15 08:09:10"), DateTimeSeparators{u'-', u'.'}),
        QStringLiteral("2017-02-15 08.09.10"));
    EXPECT_EQ(gridDateTimeText(QStringLiteral("2017-02-15"), DateTimeSeparators{u'.', u':'}),
              QStringLiteral("2017.02.15 00:00:00"));
}

struct FormatCase
{
    const char* dateFormat;
    const char* timeFormat;
    char16_t date;
    char16_t time;
};

class SeparatorsOfFormatsTest : public ::testing::TestWithParam<FormatCase>
{
};

TEST_P(SeparatorsOfFormatsTest, TakesTheCharacterAfterTheFirstField)
{
    const auto& c = GetParam();
    const DateTimeSeparators s =
        separatorsOfFormats(QString::fromUtf8(c.dateFormat), QString::fromUtf8(c.timeFormat));
    EXPECT_EQ(s.date, QChar(c.date));
    EXPECT_EQ(s.time, QChar(c.time));
}

INSTANTIATE_TEST_SUITE_P(
    Locales, SeparatorsOfFormatsTest,
    ::testing::Values(FormatCase{"yyyy-MM-dd", "HH:mm", u'-', u':'}, // Korean Windows
                      FormatCase{"d/M/yy", "h:mm AP", u'/', u':'},   // C
                      FormatCase{"yy. M. d.", "a h:mm", u'.', u':'}, // ko_KR in CLDR
                      FormatCase{"dd.MM.yy", "HH.mm", u'.', u'.'},   // fi_FI style
                      FormatCase{"", "", u'/', u':'},                // nothing to tell
                      FormatCase{"yyyyMMdd", "HHmm", u'/', u':'},    // no separator at all
                      FormatCase{"d'de'M", "'h'HH", u'/', u':'}));   // quoted text is no separator

TEST(SystemDateTimeSeparators, FollowTheSystemLocale)
{
    // The test programs run under C.UTF-8, whose short formats are d/M/yy and HH:mm:ss.
    const DateTimeSeparators s = systemDateTimeSeparators();
    EXPECT_EQ(s.date, QChar(u'/'));
    EXPECT_EQ(s.time, QChar(u':'));
}

} // namespace
