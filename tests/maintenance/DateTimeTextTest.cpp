#include "maintenance/DateTimeText.h"

#include <gtest/gtest.h>
#include <utility>

namespace {

TEST(GridDateTimeText, WritesTheGridPatternOrLeavesTheTextAlone)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2026-12-06 09:30:05", "2026/12/06 09:30:05"}, // the form query results carry
        // Midnight and dates without a time of day show 00:00:00.
        {"2017-02-15 00:00:00", "2017/02/15 00:00:00"},
        {"2017-02-15", "2017/02/15 00:00:00"},
        // Short forms, fractions and the ISO T are still dates.
        {"2017-2-5 7:05", "2017/02/05 07:05:00"},
        {"2017/02/15 13:04:09", "2017/02/15 13:04:09"},
        {"2017-02-15T13:04:09.123", "2017/02/15 13:04:09"},
        {"2024-02-29 12:00:00", "2024/02/29 12:00:00"},
        // Not dates: written unchanged, blanks included.
        {"", ""},
        {"   ", "   "},
        {"2017-02-30 10:00:00", "2017-02-30 10:00:00"},
        {"2023-02-29", "2023-02-29"},
        {"2017-02-15 25:00:00", "2017-02-15 25:00:00"},
        {"2017-02/15", "2017-02/15"},
        {"배달 메모", "배달 메모"},
        {"20170215", "20170215"},
        {"12:30:00", "12:30:00"},
        {"2017-02-15 10:00:00 오후", "2017-02-15 10:00:00 오후"},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(gridDateTimeText(QString::fromUtf8(input), DateTimeSeparators{}),
                  QString::fromUtf8(expected))
            << input;

    EXPECT_EQ(
        gridDateTimeText(QStringLiteral("2017-02-15 08:09:10"), DateTimeSeparators{u'-', u'.'}),
        QStringLiteral("2017-02-15 08.09.10"));
}

TEST(GridDateTimeText, SeparatorsComeAfterTheFirstFieldOfTheLocaleFormats)
{
    struct
    {
        const char* dateFormat;
        const char* timeFormat;
        char16_t date;
        char16_t time;
    } const formats[] = {
        {"yyyy-MM-dd", "HH:mm", u'-', u':'}, // Korean Windows
        {"yy. M. d.", "a h:mm", u'.', u':'}, // ko_KR in CLDR
        {"dd.MM.yy", "HH.mm", u'.', u'.'},   // fi_FI style
        {"", "", u'/', u':'},                // nothing to tell
        {"yyyyMMdd", "HHmm", u'/', u':'},    // no separator at all
        {"d'de'M", "'h'HH", u'/', u':'},     // quoted text is no separator
    };
    for (const auto& f : formats) {
        const DateTimeSeparators s =
            separatorsOfFormats(QString::fromUtf8(f.dateFormat), QString::fromUtf8(f.timeFormat));
        EXPECT_EQ(s.date, QChar(f.date)) << f.dateFormat;
        EXPECT_EQ(s.time, QChar(f.time)) << f.timeFormat;
    }

    // The test programs run under C.UTF-8, whose short formats are d/M/yy and HH:mm:ss.
    const DateTimeSeparators system = systemDateTimeSeparators();
    EXPECT_EQ(system.date, QChar(u'/'));
    EXPECT_EQ(system.time, QChar(u':'));
}

} // namespace
