#include "agent/TmTexts.h"

#include <gtest/gtest.h>

namespace {

struct CountRow
{
    const char* body;
    std::optional<double> count;
};

class ReadCountTest : public ::testing::TestWithParam<CountRow>
{
};

TEST_P(ReadCountTest, TakesTheLongestLeadingNumber)
{
    EXPECT_EQ(TmTexts::readCount(QString::fromUtf8(GetParam().body)), GetParam().count)
        << GetParam().body;
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, ReadCountTest,
    ::testing::Values(CountRow{"3", 3.0}, CountRow{"0", 0.0}, CountRow{"", 0.0},
                      CountRow{"  \t12\n", 12.0}, CountRow{"1 2\t3", 123.0}, // blanks anywhere
                      CountRow{"7 건", 7.0}, CountRow{"4abc", 4.0}, CountRow{"2.5", 2.5},
                      CountRow{"-2", -2.0}, CountRow{"+5", 5.0}, CountRow{"1e3", 1000.0},
                      CountRow{"1e", 1.0}, CountRow{"3.", 3.0}, CountRow{".5", 0.5},
                      CountRow{"주문 없음", 0.0}, CountRow{"{\"count\":3}", 0.0},
                      CountRow{"\r\n3", 0.0}, // a carriage return is not a blank
                      CountRow{"1e999", std::nullopt}));

TEST(CountCaption, WritesTheCountAsANumber)
{
    EXPECT_EQ(TmTexts::countCaption(3), QStringLiteral("3"));
    EXPECT_EQ(TmTexts::countCaption(0), QStringLiteral("0"));
    EXPECT_EQ(TmTexts::countCaption(2.5), QStringLiteral("2.5"));
    EXPECT_EQ(TmTexts::countCaption(123456), QStringLiteral("123456"));
}

TEST(PosMacAddressSql, IsTheLookupWithQuotesDoubled)
{
    EXPECT_EQ(TmTexts::posMacAddressSql(QStringLiteral("R1"), QStringLiteral("01")),
              QStringLiteral(" SELECT MAC_ADDR \n FROM POS \n WHERE RCT_CODE = 'R1'  \n"
                             " AND POS_ID = '01' \n"));
    EXPECT_EQ(TmTexts::posMacAddressSql(QStringLiteral("강남'점"), QStringLiteral("0' OR '1'='1")),
              QStringLiteral(" SELECT MAC_ADDR \n FROM POS \n WHERE RCT_CODE = '강남''점'  \n"
                             " AND POS_ID = '0'' OR ''1''=''1' \n"));
}

struct BodyRow
{
    const char* comId;
    const char* rctCode;
    const char* posId;
    const char* mac;
    const char* body;
};

class PasswordGrantBodyTest : public ::testing::TestWithParam<BodyRow>
{
};

TEST_P(PasswordGrantBodyTest, EncodesEachValue)
{
    const BodyRow& r = GetParam();
    EXPECT_EQ(TmTexts::passwordGrantBody(QString::fromUtf8(r.comId), QString::fromUtf8(r.rctCode),
                                         QString::fromUtf8(r.posId), QString::fromUtf8(r.mac)),
              QByteArray(r.body));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, PasswordGrantBodyTest,
    ::testing::Values(
        // Ordinary codes: the body the service has always received.
        BodyRow{"C1", "R1", "01", "00-1A-2B-3C-4D-5E",
                "username=C1|R1|01&password=00-1A-2B-3C-4D-5E&grant_type=password"},
        BodyRow{"C1", "R1", "01", "", "username=C1|R1|01&password=&grant_type=password"},
        // Characters that would change the form are sent as themselves.
        BodyRow{"A&B", "R=1", "0+1", "a b",
                "username=A%26B|R%3D1|0%2B1&password=a%20b&grant_type=password"},
        BodyRow{"C|1", "강남", "01", "00:1A",
                "username=C%7C1|%EA%B0%95%EB%82%A8|01&password=00%3A1A&grant_type=password"}));

TEST(RefreshGrantBody, EncodesTheRefreshToken)
{
    EXPECT_EQ(TmTexts::refreshGrantBody(QStringLiteral("eyJ.abc-_~")),
              QByteArray("grant_type=refresh_token&refresh_token=eyJ.abc-_~"));
    EXPECT_EQ(TmTexts::refreshGrantBody(QStringLiteral("a+b/c==&x")),
              QByteArray("grant_type=refresh_token&refresh_token=a%2Bb%2Fc%3D%3D%26x"));
}

TEST(OrderCountUrl, JoinsThePiecesWithNothingBetween)
{
    const QString upper =
        TmTexts::upperTimeBound(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 678)));
    EXPECT_EQ(upper, QStringLiteral("2026-01-02T03:04:05.000%2B09:00"));
    EXPECT_EQ(TmTexts::orderCountUrl(QStringLiteral("http://svc/api/"), QStringLiteral("C1"),
                                     QStringLiteral("R1"), QStringLiteral("00,02"), upper),
              QStringLiteral("http://svc/api/tmHd/search/"
                             "countByTmhCdateBetweenAndComIdAndRctCodeAndTmhSyncStatusIn"
                             "?tmhCdateLt=1970-01-01T00:00:00.000%2B09:00"
                             "&tmhCdateGt=2026-01-02T03:04:05.000%2B09:00"
                             "&comId=C1&rctCode=R1&tmhSyncStatus=00,02"));
    // A code cannot add parameters of its own.
    EXPECT_TRUE(TmTexts::orderCountUrl(QString(), QStringLiteral("C1&rctCode=X"),
                                       QStringLiteral("R 1"), QStringLiteral("00"), upper)
                    .endsWith(QStringLiteral("&comId=C1%26rctCode%3DX&rctCode=R%201"
                                             "&tmhSyncStatus=00")));
}

} // namespace
