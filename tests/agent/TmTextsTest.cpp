#include "agentcore/TmTexts.h"
#include "agentcore/AlertTexts.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

TEST(TmTexts, ReadCountTakesTheLongestLeadingNumber)
{
    // clang-format off
    const std::pair<const char*, std::optional<double>> rows[] = {
        {"", 0.0}, {"  \t1 2\n", 12.0}, {"7 건", 7.0}, {"2.5x", 2.5}, {"-2", -2.0}, {"1e3", 1000.0},
        {"1e", 1.0}, {"{\"count\":3}", 0.0}, {"\r\n3", 0.0}, {"1e999", std::nullopt}};
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

// What the popup and the tray say: a count only once a poll succeeded, and while polls fail,
// since when and why. Each row names what its text must carry and what it must not.
TEST(AlertTexts, TellOnlyWhatIsKnown)
{
    const QDateTime nine(QDate(2026, 12, 6), QTime(9, 30, 15), QTimeZone::utc());
    PollState fine{true, 3.0, nine, {}, {}};
    PollState failing = fine;
    failing.failingSince = nine.addSecs(60);
    failing.failure = AlertTexts::failureReason({PollResult::Outcome::BadStatus, {}, 503, {}});
    PollState neverFine{true, {}, {}, nine, AlertTexts::failureReason({})};
    struct Row
    {
        const char* name;
        QString text;
        QStringList has, hasNot;
    };
    const QString unknown = AlertTexts::noCountLine(std::nullopt);
    const Row rows[] = {
        {"unknown count", unknown, {}, {"0", "12", "접수"}},
        {"no orders", AlertTexts::noCountLine(0.0), {}, {"0", "접수", unknown}},
        {"negative", AlertTexts::noCountLine(-2.0), {AlertTexts::noCountLine(0.0)}, {}},
        {"fine", AlertTexts::toolTip(fine), {"09:30:15", "3건"}, {"실패", "멈춤"}},
        {"failing", AlertTexts::toolTip(failing), {"09:31:15", "503", "09:30:15", "3건"}, {}},
        {"never fine", AlertTexts::toolTip(neverFine), {"09:30:15", "응답 없음"}, {"건"}},
        {"not polling", AlertTexts::toolTip({}), {"PollEnabled"}, {"실패"}},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(row.text.isEmpty()) << row.name;
        for (const QString& part : row.has)
            EXPECT_TRUE(row.text.contains(part)) << row.name << ": " << row.text.toStdString();
        for (const QString& part : row.hasNot)
            EXPECT_FALSE(row.text.contains(part)) << row.name << ": " << row.text.toStdString();
    }
    EXPECT_TRUE(AlertTexts::noCountLine(1.0).isEmpty()); // the popup's sentence says it
}

} // namespace
