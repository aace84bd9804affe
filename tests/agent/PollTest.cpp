#include "LocalHttpServer.h"
#include "RecordingSound.h"
#include "ShortTimeoutRequest.h"
#include "agent/CurlHttpRequest.h"
#include "agent/Frm_TM_Main.h"
#include "agent/Mod_TM.h"
#include "support/FixtureDatabase.h"
#include "support/ManualClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const std::string kCountPath =
    "/tmHd/search/countByTmhCdateBetweenAndComIdAndRctCodeAndTmhSyncStatusIn";
const QString kSound = QStringLiteral("/opt/telemenu/Telemenu.wav");

bool isTokenRequest(const SeenRequest& r)
{
    return r.target == "/oauth/token";
}

class PollTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_db);
        AgentSettings settings;
        settings.baseUrl = server.baseUrl();
        settings.comId = QStringLiteral("C1");
        settings.rctCode = QStringLiteral("R1");
        settings.posId = QStringLiteral("01");
        settings.pollEnabled = QStringLiteral("Y");
        tm.setSettings(settings);
        answerCount(200, "0");
    }

    void setPollEnabled(const QString& flag)
    {
        AgentSettings settings = tm.settings();
        settings.pollEnabled = flag;
        tm.setSettings(settings);
    }

    // Token requests get a token; count requests the given answer.
    void answerCount(int status, std::string body, std::string accessToken = "TOKEN")
    {
        server.setHandler([=](const httplib::Request& q, httplib::Response& r) {
            if (q.path == "/oauth/token") {
                r.set_content("{\"access_token\":\"" + accessToken +
                                  "\",\"token_type\":\"bearer\",\"refresh_token\":\"R\","
                                  "\"expires_in\":3600}",
                              "application/json");
                return;
            }
            r.status = status;
            if (!body.empty())
                r.set_content(body, "text/plain");
        });
    }

    std::vector<SeenRequest> countRequests() const
    {
        std::vector<SeenRequest> result;
        for (const SeenRequest& r : server.requests())
            if (!isTokenRequest(r))
                result.push_back(r);
        return result;
    }

    LocalHttpServer server;
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

    const auto seen = countRequests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "GET");
    EXPECT_EQ(seen[0].target, kCountPath + "?tmhCdateLt=1970-01-01T00:00:00.000%2B09:00"
                                           "&tmhCdateGt=2026-12-06T09:30:15.000%2B09:00"
                                           "&comId=C1&rctCode=R1&tmhSyncStatus=00,02");
    EXPECT_EQ(seen[0].header("Authorization"), "bearer TOKEN");
    EXPECT_EQ(seen[0].header("Content-Type"), "application/json");
    EXPECT_EQ(tm.RequestUrl().toStdString(),
              server.baseUrl().toStdString() + seen[0].target.substr(1));

    // The token is asked for once and then reused while it lives.
    clock.advanceSeconds(60);
    popup.TimerTELEMENU_Timer();
    const auto all = server.requests();
    EXPECT_EQ(std::count_if(all.begin(), all.end(), isTokenRequest), 1);
    ASSERT_EQ(countRequests().size(), 2u);
    EXPECT_NE(countRequests()[1].target.find("&tmhCdateGt=2026-12-06T09:31:15.000%2B09:00&"),
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
                                           AnswerRow{"Blanks", 200, " 4\n", "4", true},
                                           AnswerRow{"NotANumber", 200, "없음", "0", false},
                                           AnswerRow{"ServerError", 500, "7", "12", false},
                                           AnswerRow{"Unauthorized", 401, "7", "12", false},
                                           AnswerRow{"TooLarge", 200, "1e999", "12", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PollTest, AWaitingCountIsAnnouncedAgainAtEveryTickAndHidesOnce)
{
    answerCount(200, "2");
    popup.TimerTELEMENU_Timer();
    ASSERT_TRUE(popup.isVisible());
    popup.TimerHide_Timer();
    EXPECT_FALSE(popup.isVisible());
    EXPECT_FALSE(popup.TimerHide->isActive());
    popup.TimerHide_Timer(); // a second tick finds it hidden and leaves it so
    EXPECT_FALSE(popup.isVisible());

    popup.TimerTELEMENU_Timer();
    EXPECT_TRUE(popup.isVisible());
    EXPECT_TRUE(popup.TimerHide->isActive());
    EXPECT_EQ(sound.played.size(), 2);

    // A later zero updates the caption but leaves the shown popup to its hide timer.
    answerCount(200, "0");
    popup.TimerTELEMENU_Timer();
    EXPECT_EQ(popup.lblTELCNT->text(), QStringLiteral("0"));
    EXPECT_EQ(sound.played.size(), 2);
}

TEST_F(PollTest, ASilentServerEndsThePollQuietlyAndTheNextTickPollsAgain)
{
    bool silent = true;
    std::mutex mutex;
    server.setHandler([&](const httplib::Request& q, httplib::Response& r) {
        if (q.path == "/oauth/token") {
            r.set_content("{\"access_token\":\"T\",\"token_type\":\"bearer\",\"expires_in\":3600}",
                          "application/json");
            return;
        }
        bool hang;
        {
            std::lock_guard lock(mutex);
            hang = silent;
        }
        if (hang)
            server.hang();
        r.set_content("5", "text/plain");
    });

    QElapsedTimer timer;
    timer.start();
    popup.TimerTELEMENU_Timer();
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(popup.lblTELCNT->text(), QStringLiteral("12"));
    EXPECT_FALSE(popup.isVisible());
    EXPECT_TRUE(sound.played.isEmpty());
    EXPECT_TRUE(popup.TimerTELEMENU->isActive());

    {
        std::lock_guard lock(mutex);
        silent = false;
    }
    popup.TimerTELEMENU_Timer();
    EXPECT_EQ(popup.lblTELCNT->text(), QStringLiteral("5"));
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(countRequests().size(), 2u);
}

TEST_F(PollTest, SendsNothingUnlessPollEnabledIsExactlyY)
{
    answerCount(200, "3");
    for (const QString& flag : {QString(), QStringLiteral("y"), QStringLiteral(" Y"),
                                QStringLiteral("YES"), QStringLiteral("예")}) {
        setPollEnabled(flag);
        popup.TimerTELEMENU_Timer();
        EXPECT_EQ(server.requestCount(), 0u) << flag.toStdString();
        EXPECT_TRUE(popup.TimerTELEMENU->isActive());
    }
    EXPECT_FALSE(popup.isVisible());
    setPollEnabled(QStringLiteral("Y"));
    popup.TimerTELEMENU_Timer();
    EXPECT_EQ(countRequests().size(), 1u);
}

TEST_F(PollTest, ATokenThatWouldAddHeadersIsNeverSent)
{
    answerCount(200, "3", "abc\\r\\nX-Injected: 1");
    popup.TimerTELEMENU_Timer();
    EXPECT_EQ(tm.AccessToken(), QStringLiteral("abc\r\nX-Injected: 1"));
    EXPECT_TRUE(countRequests().empty());
    EXPECT_EQ(popup.lblTELCNT->text(), QStringLiteral("12"));
    EXPECT_FALSE(popup.isVisible());
}

TEST_F(PollTest, ThePollTimerTicksByItself)
{
    answerCount(200, "1");
    popup.TimerTELEMENU->setInterval(10);
    popup.TimerTELEMENU->start();
    QElapsedTimer timer;
    timer.start();
    while (countRequests().size() < 2 && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GE(countRequests().size(), 2u);
    EXPECT_EQ(popup.lblTELCNT->text(), QStringLiteral("1"));
}

} // namespace
