#include "agentcore/TmTexts.h"
#include "agentcore/AlertTexts.h"

#include <QTimeZone>
#include <gtest/gtest.h>
#include <set>

namespace {

// The form value encoding and the time bound are checked in the requests the service sees.
TEST(TmTexts, ReadCountTakesTheLongestLeadingNumber)
{
    // clang-format off
    const std::pair<const char*, std::optional<double>> rows[] = {
        {"\t 1 2\n5", 125.0}, {"-2.5x", -2.5}, {"{\"count\":3}", 0.0}, {"٣", 0.0}, {"1d+2", 100.0},
        {"1e", 1.0}, {"1e999", std::nullopt}};
    // clang-format on
    for (const auto& [body, count] : rows)
        EXPECT_EQ(TmTexts::readCount(QString::fromUtf8(body)), count) << body;
}

// What the popup and the tray say: a count only once a poll succeeded, and while polls fail,
// since when and why. Each row names what its text must carry and what it must not.
TEST(AlertTexts, TellOnlyWhatIsKnown)
{
    const QDateTime nine(QDate(2026, 12, 6), QTime(9, 30, 15), QTimeZone::utc());
    const PollState fine{true, 3.0, nine, {}, {}};
    PollState failing = fine;
    failing.failingSince = nine.addSecs(60);
    failing.failure = AlertTexts::failureReason({PollResult::Outcome::BadStatus, {}, 503, {}});
    const PollState neverFine{true, {}, {}, nine, AlertTexts::failureReason({})};
    const QString unknown = AlertTexts::noCountLine(std::nullopt);
    const std::tuple<QString, QStringList, QStringList> rows[] = {
        {unknown, {}, {"0"}},
        {AlertTexts::noCountLine(0.0), {}, {"0"}},
        {AlertTexts::toolTip(fine), {"09:30:15", "3건"}, {"실패"}},
        {AlertTexts::toolTip(failing), {"09:31:15", "503", "09:30:15", "3건"}, {}},
        {AlertTexts::toolTip(neverFine), {"09:30:15", AlertTexts::failureReason({})}, {"건"}},
        {AlertTexts::toolTip({}), {"PollEnabled"}, {"실패"}},
    };
    std::set<QString> texts;
    for (const auto& [text, has, hasNot] : rows) {
        EXPECT_TRUE(texts.insert(text).second && !text.isEmpty()) << text.toStdString();
        for (const QString& part : has)
            EXPECT_TRUE(text.contains(part)) << text.toStdString();
        for (const QString& part : hasNot)
            EXPECT_FALSE(text.contains(part)) << text.toStdString();
    }
    EXPECT_TRUE(AlertTexts::noCountLine(1.0).isEmpty()); // the popup's sentence says it
    EXPECT_EQ(AlertTexts::noCountLine(-2.0), AlertTexts::noCountLine(0.0));
    std::set<QString> reasons{{}};
    for (auto outcome : {PollResult::Outcome::NoAnswer, PollResult::Outcome::Refused,
                         PollResult::Outcome::BadStatus, PollResult::Outcome::Unreadable})
        reasons.insert(AlertTexts::failureReason({outcome, {}, 0, {}}));
    EXPECT_EQ(reasons.size(), 5u); // each way to fail has its own reason, and none is empty
}

} // namespace
