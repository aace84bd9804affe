#include "agentcore/AgentSettings.h"
#include "agentcore/AlertTexts.h"
#include "agentcore/TmTexts.h"
#include "core/Mod_Basic.h"

#include <QTemporaryDir>
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
        {"2e-1x", 0.2}, {"1e", 1.0}, {"1e999", std::nullopt}};
    // clang-format on
    for (const auto& [body, count] : rows)
        EXPECT_EQ(TmTexts::readCount(QString::fromUtf8(body)), count) << body;
}

// What the popup and the tray say: a count only once a poll succeeded, and while polls fail,
// since when and why.
TEST(AlertTexts, TellOnlyWhatIsKnown)
{
    using AlertTexts::noCountLine, AlertTexts::toolTip, AlertTexts::failureReason;
    const QString unknown = noCountLine(std::nullopt), none = noCountLine(0.0);
    EXPECT_TRUE(!unknown.isEmpty() && !none.isEmpty() && unknown != none);
    EXPECT_EQ(noCountLine(-2.0), none);
    EXPECT_TRUE(noCountLine(1.0).isEmpty()); // the popup's sentence says it

    const QDateTime nine(QDate(2026, 12, 6), QTime(9, 30, 15), QTimeZone::utc());
    const QString fine = toolTip({true, 3.0, nine, {}, {}});
    const QString failing = toolTip({true, 3.0, nine, nine.addSecs(60), "이유"});
    const QString neverFine = toolTip({true, {}, {}, nine, "이유"});
    for (const char* part : {"09:30:15", "3건"})
        EXPECT_TRUE(fine.contains(part) && failing.contains(part)) << part;
    EXPECT_TRUE(failing.contains("09:31:15") && failing.contains("이유") && !fine.contains("이유"));
    EXPECT_TRUE(neverFine.contains("09:30:15") && neverFine.contains("이유"));
    EXPECT_TRUE(toolTip({}).contains("PollEnabled")); // not polling

    using enum PollResult::Outcome;
    std::set<QString> reasons{{}};
    for (auto outcome : {NoAnswer, Refused, BadStatus, Unreadable})
        reasons.insert(failureReason({outcome, {}, 503, {}}));
    EXPECT_EQ(reasons.size(), 5u); // each way to fail has its own reason, and none is empty
    EXPECT_TRUE(failureReason({BadStatus, {}, 503, {}}).contains("503"));
}

TEST(AgentSettings, AddsTheFinalSlashAndFallsBackOnUnusableIntervals)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("IP.ini"));
    auto read = [&](const char* key, const char* value) {
        Mod_Basic::Write_Ini(AgentSettings::section(), key, value, ini);
        return AgentSettings::read(ini);
    };
    EXPECT_EQ(read("BaseUrl", "http://127.0.0.1:8080/api").baseUrl, "http://127.0.0.1:8080/api/");
    EXPECT_EQ(read("PollSeconds", "86400").pollSeconds, 86400); // a day at most
    EXPECT_EQ(read("PollSeconds", "86401").pollSeconds, AgentSettings::kDefaultPollSeconds);
    EXPECT_EQ(read("HideSeconds", "0").hideSeconds, AgentSettings::kDefaultHideSeconds);
}

} // namespace
