#include "operations/DateNormalise.h"
#include "operations/DateTimeText.h"

#include <gtest/gtest.h>

namespace {

TEST(DateTexts, TypedDatesAreReadStrictlyAndShownInTheGridsForm)
{
    const std::pair<const char*, const char*> dates[] = {{" 2017.2.5 ", "2017-02-05"},
                                                         {"2017-02-30", "2017-02-30"},
                                                         {"2017-02-15'--", "2017-02-15'--"}};
    for (const auto& [typed, expected] : dates)
        EXPECT_EQ(normaliseDate(QString::fromUtf8(typed)), QString::fromUtf8(expected)) << typed;

    const std::pair<const char*, const char*> times[] = {
        {"2017-02-15", "2017/02/15 00:00:00"},
        {"2017-2-5 7:05", "2017/02/05 07:05:00"},
        {"2017-02-15T13:04:09.123", "2017/02/15 13:04:09"},
        {"2023-02-29", "2023-02-29"},
        {" 미정 ", " 미정 "}};
    for (const auto& [text, shown] : times)
        EXPECT_EQ(gridDateTimeText(QString::fromUtf8(text), DateTimeSeparators{}),
                  QString::fromUtf8(shown))
            << text;
    const DateTimeSeparators fi = separatorsOfFormats(QStringLiteral("dd.MM.yy"), "HH.mm");
    EXPECT_EQ(fi.date, QChar(u'.'));
    EXPECT_EQ(fi.time, QChar(u'.'));
}

} // namespace
