#include "agent/TmTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(TmTexts, ReadCountTakesTheLongestLeadingNumber)
{
    // clang-format off
    const std::pair<const char*, std::optional<double>> rows[] = {
        {"", 0.0}, {"  \t12\n", 12.0}, {"1 2\t3", 123.0} /* blanks are ignored anywhere */,
        {"7 건", 7.0}, {"2.5x", 2.5}, {"-2", -2.0}, {"1e3", 1000.0}, {"1e", 1.0},
        {"주문 없음", 0.0}, {"{\"count\":3}", 0.0}, {"\r\n3", 0.0}, {"1e999", std::nullopt}};
    // clang-format on
    for (const auto& [body, count] : rows)
        EXPECT_EQ(TmTexts::readCount(QString::fromUtf8(body)), count) << body;
}

TEST(TmTexts, FormValuesCannotChangeTheForm)
{
    EXPECT_EQ(
        TmTexts::passwordGrantBody(QStringLiteral("A&B"), QStringLiteral("R=1|2"),
                                   QStringLiteral("0+1"), QStringLiteral("00:1A b")),
        QByteArray("username=A%26B|R%3D1%7C2|0%2B1&password=00%3A1A%20b&grant_type=password"));
    EXPECT_EQ(TmTexts::refreshGrantBody(QStringLiteral("eyJ.a-_~+/=")),
              QByteArray("grant_type=refresh_token&refresh_token=eyJ.a-_~%2B%2F%3D"));
    EXPECT_TRUE(TmTexts::orderCountUrl(QString(), QStringLiteral("C1&rctCode=X"),
                                       QStringLiteral("강남"), QStringLiteral("00,02"), QString())
                    .endsWith(QStringLiteral(
                        "&comId=C1%26rctCode%3DX&rctCode=%EA%B0%95%EB%82%A8&tmhSyncStatus=00,02")));
}

} // namespace
