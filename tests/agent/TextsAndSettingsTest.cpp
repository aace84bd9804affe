#include "agentcore/AgentSettings.h"
#include "agentcore/AlertTexts.h"
#include "agentcore/TmTexts.h"
#include "core/Mod_Basic.h"

#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <set>

namespace {

// Only a whole number from 0 up is a count; the popup shows up to four digits.
TEST(TmTexts, ACountIsAWholeNumberFromZeroUp)
{
    // clang-format off
    const std::pair<const char*, std::optional<qint64>> rows[] = {
        {" 12\r\n", 12}, {"0", 0}, {"007", 7}, {"999999999999999999", 999999999999999999},
        {"", {}}, {"<html>", {}}, {"null", {}}, {"{\"count\":4}", {}}, {"\"5\"", {}}, {"-1", {}},
        {"+1", {}}, {"2.5", {}}, {"1 2", {}}, {"1e2", {}}, {"٣", {}}, {"1000000000000000000", {}}};
    // clang-format on
    for (const auto& [body, count] : rows)
        EXPECT_EQ(TmTexts::readCount(QString::fromUtf8(body)), count) << body;
    EXPECT_EQ(TmTexts::countCaption(9999), "9999");
    EXPECT_EQ(TmTexts::countCaption(10000), "9999+");
}

// What the popup and the tray say: a count only once a poll succeeded; while polls fail, since
// when and why; while the agent does not poll, why not.
TEST(AlertTexts, TellOnlyWhatIsKnown)
{
    using AlertTexts::noCountLine, AlertTexts::toolTip, AlertTexts::failureReason;
    const QString unknown = noCountLine(std::nullopt), none = noCountLine(0);
    EXPECT_NE(unknown, QString());
    EXPECT_NE(none, QString());
    EXPECT_NE(unknown, none);
    EXPECT_TRUE(noCountLine(1).isEmpty()); // the popup's sentence says it

    using Off = PollState::Off;
    const QDateTime nine(QDate(2026, 12, 6), QTime(9, 30, 15), QTimeZone::utc());
    const QString fine = toolTip({Off::No, 3, nine, {}, {}});
    const QString failing = toolTip({Off::No, 3, nine, nine.addSecs(60), "이유"});
    const QString neverFine = toolTip({Off::No, {}, {}, nine, "이유"});
    for (const char* part : {"09:30:15", "3건"}) {
        EXPECT_TRUE(fine.contains(part)) << part;
        EXPECT_TRUE(failing.contains(part)) << part;
    }
    EXPECT_TRUE(failing.contains("09:31:15"));
    EXPECT_TRUE(failing.contains("이유"));
    EXPECT_FALSE(fine.contains("이유"));
    EXPECT_TRUE(neverFine.contains("09:30:15"));
    EXPECT_TRUE(neverFine.contains("이유"));
    EXPECT_TRUE(toolTip({Off::Disabled, {}, {}, {}, {}}).contains("PollEnabled"));
    EXPECT_TRUE(toolTip({Off::NoBaseUrl, {}, {}, {}, {}}).contains("BaseUrl"));

    // Each way to fail has its own reason, and none is empty; the token service's tells its
    // status or the time-out.
    using enum PollResult::Outcome;
    std::set<QString> reasons{{}};
    for (auto outcome : {NoAnswer, Refused, BadStatus, Unreadable, BadBaseUrl, TerminalRefused,
                         TokenServiceFailing, DatabaseUnreadable})
        reasons.insert(failureReason({outcome, {}, 503, false, {}}));
    reasons.insert(failureReason({TokenServiceFailing, {}, 0, true, {}}));
    EXPECT_EQ(reasons.size(), 10u);
    EXPECT_TRUE(failureReason({BadStatus, {}, 503, false, {}}).contains("503"));
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
    for (const char* url : {"https://주문.example:8443/api", "http://127.0.0.1:8080/api"})
        EXPECT_TRUE(read("BaseUrl", url).baseUrlWellFormed()) << url;
    for (const char* url : {"http//127.0.0.1", "htp://x/", "http://", "http://a b/",
                            "http://x:99999/", "http://x/?a=1", "127.0.0.1:8080"})
        EXPECT_FALSE(read("BaseUrl", url).baseUrlWellFormed()) << url;
}

} // namespace
