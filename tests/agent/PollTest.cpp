#include "LocalHttpServer.h"
#include "RecordingSound.h"
#include "ShortTimeoutRequest.h"
#include "agent/CurlHttpRequest.h"
#include "agent/Frm_TM_Main.h"
#include "agent/Mod_TM.h"
#include "support/FixtureDatabase.h"
#include "support/ManualClock.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>

namespace {

const QString kSound = QStringLiteral("/opt/telemenu/Telemenu.wav");

class PollTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_db);
        setPollEnabled(QStringLiteral("Y"));
        answerCount(200, "0");
    }
    void setPollEnabled(const QString& flag)
    {
        AgentSettings s;
        s.baseUrl = server.baseUrl();
        s.comId = QStringLiteral("C1");
        s.rctCode = QStringLiteral("R1");
        s.posId = QStringLiteral("01");
        s.pollEnabled = flag;
        tm.setSettings(s);
    }
    // Token requests get a token; count requests the given answer, or none while silent.
    void answerCount(int status, std::string body)
    {
        server.setHandler([=, this](const httplib::Request& q, httplib::Response& r) {
            if (q.path == "/oauth/token")
                return r.set_content("{\"access_token\":\"TOKEN\",\"token_type\":\"bearer\","
                                     "\"expires_in\":3600}",
                                     "application/json");
            if (m_silent)
                return server.hang();
            r.status = status;
            if (!body.empty())
                r.set_content(body, "text/plain");
        });
    }
    std::vector<SeenRequest> countRequests() const
    {
        auto seen = server.requests();
        std::erase_if(seen, [](const SeenRequest& r) { return r.target == "/oauth/token"; });
        return seen;
    }

    LocalHttpServer server;
    std::atomic<bool> m_silent = false;
    FixtureDatabase fixture;
    std::unique_ptr<Mod_DB> m_db = fixture.connect();
    ManualClock clock{QDateTime(QDate(2026, 12, 6), QTime(9, 30, 15))};
    CurlHttpRequest curl;
    ShortTimeoutRequest http{curl, 300};
    Mod_TM tm{http, m_db.get(), clock};
    RecordingSound sound;
    Frm_TM_Main popup{tm, sound, kSound, 60000, 10000};
};

TEST_F(PollTest, AsksForTheShopsWaitingOrdersWithTheToken)
{
    popup.TimerTELEMENU_Timer();
    clock.advanceSeconds(60);
    popup.TimerTELEMENU_Timer();

    EXPECT_EQ(server.requests().size(), 3u); // one token serves both polls
    const auto seen = countRequests();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].method, "GET");
    EXPECT_EQ(
        seen[0].target,
        "/tmHd/search/countByTmhCdateBetweenAndComIdAndRctCodeAndTmhSyncStatusIn"
        "?tmhCdateLt=1970-01-01T00:00:00.000%2B09:00"
        "&tmhCdateGt=2026-12-06T09:30:15.000%2B09:00&comId=C1&rctCode=R1&tmhSyncStatus=00,02");
    EXPECT_EQ(seen[0].header("Authorization"), "bearer TOKEN");
    EXPECT_EQ(seen[0].header("Content-Type"), "application/json");
    EXPECT_NE(seen[1].target.find("&tmhCdateGt=2026-12-06T09:31:15.000%2B09:00&"),
              std::string::npos);
}

struct AnswerRow
{
    const char* name;
    int status;
    std::string body;
    const char* caption; // "12" is the caption before any answer
    bool announced;
};

class PollAnswerTest : public PollTest, public ::testing::WithParamInterface<AnswerRow>
{
};

TEST_P(PollAnswerTest, ShowsTheCountAndAnnouncesOnlyWaitingOrders)
{
    const AnswerRow row = GetParam();
    answerCount(row.status, row.body);
    popup.TimerTELEMENU_Timer();

    EXPECT_EQ(popup.lblTELCNT->text(), QString::fromUtf8(row.caption));
    EXPECT_EQ(popup.isVisible(), row.announced);
    EXPECT_EQ(popup.TimerHide->isActive(), row.announced);
    EXPECT_EQ(sound.played, row.announced ? QStringList{kSound} : QStringList{});
    EXPECT_TRUE(popup.TimerTELEMENU->isActive()); // the next poll is armed in every case
}

INSTANTIATE_TEST_SUITE_P(Answers, PollAnswerTest,
                         ::testing::Values(AnswerRow{"Zero", 200, "0", "0", false},
                                           AnswerRow{"Three", 200, "3", "3", true},
                                           AnswerRow{"NoContent", 204, "", "0", false},
                                           AnswerRow{"ServerError", 500, "7", "12", false},
                                           AnswerRow{"TooLarge", 200, "1e999", "12", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PollTest, AWaitingCountIsAnnouncedAtEveryTickAndTimerHideHidesOnce)
{
    answerCount(200, "2");
    popup.TimerTELEMENU_Timer();
    ASSERT_TRUE(popup.isVisible());
    popup.TimerHide_Timer();
    EXPECT_FALSE(popup.isVisible());
    EXPECT_FALSE(popup.TimerHide->isActive());

    popup.TimerTELEMENU_Timer();
    EXPECT_TRUE(popup.isVisible());
    EXPECT_TRUE(popup.TimerHide->isActive());
    EXPECT_EQ(sound.played.size(), 2);
}

TEST_F(PollTest, ASilentServerEndsThePollQuietlyAndTheNextTickPollsAgain)
{
    answerCount(200, "5");
    m_silent = true;
    QElapsedTimer timer;
    timer.start();
    popup.TimerTELEMENU_Timer();
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(popup.lblTELCNT->text(), QStringLiteral("12"));
    EXPECT_FALSE(popup.isVisible());
    EXPECT_TRUE(sound.played.isEmpty());

    m_silent = false;
    popup.TimerTELEMENU_Timer();
    EXPECT_EQ(popup.lblTELCNT->text(), QStringLiteral("5"));
    EXPECT_TRUE(popup.isVisible());
}

TEST_F(PollTest, SendsNothingUnlessPollEnabledIsExactlyY)
{
    answerCount(200, "3");
    for (const char* flag : {"", "y", " Y", "YES"}) {
        setPollEnabled(QString::fromLatin1(flag));
        popup.TimerTELEMENU_Timer();
        EXPECT_TRUE(popup.TimerTELEMENU->isActive());
    }
    EXPECT_TRUE(server.requests().empty());
    EXPECT_FALSE(popup.isVisible());
}

} // namespace
