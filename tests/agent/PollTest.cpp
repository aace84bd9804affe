#include "AgentParts.h"
#include "LocalHttpServer.h"
#include "agentcore/AlertTexts.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>
#include <set>

namespace {

const std::string kCountPath =
    "/tmHd/search/countByTmhCdateBetweenAndComIdAndRctCodeAndTmhSyncStatusIn";

class PollTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parts.db);
        parts.setService(server.baseUrl());
        answer(200, "0");
    }
    // Each grant gets a fresh token T1, T2, ... of type "bearer"; a count request is answered
    // with status and body, or 401 while it carries a token in refused.
    void answer(int status, std::string body, std::string tokenType = "bearer")
    {
        server.setHandler([=, this](const httplib::Request& q, httplib::Response& r) {
            if (q.path == "/oauth/token")
                return r.set_content("{\"access_token\":\"T" + std::to_string(++m_issued) +
                                         "\",\"token_type\":\"" + tokenType +
                                         "\",\"refresh_token\":\"R\",\"expires_in\":3600}",
                                     "application/json");
            if (m_silent)
                return server.hang();
            const std::string token = q.get_header_value("Authorization");
            r.status = refused.count(token.substr(token.find(' ') + 1)) ? 401 : status;
            r.set_content(body, "text/plain");
        });
    }
    std::vector<std::string> seen() const // "count T1", "password", "refresh"
    {
        std::vector<std::string> out;
        for (const SeenRequest& r : server.requests())
            out.push_back(r.target.rfind(kCountPath, 0) == 0
                              ? "count " + r.header("Authorization").substr(7)
                          : r.body.rfind("grant_type=refresh", 0) == 0 ? "refresh"
                                                                       : "password");
        return out;
    }

    LocalHttpServer server;
    AgentParts parts;
    std::atomic<bool> m_silent = false;
    std::set<std::string> refused;
    int m_issued = 0;
};

TEST_F(PollTest, AsksInKoreanTimeWithABearerTokenWhateverTheCasingTheServiceGave)
{
    answer(200, "0", "BeArEr");
    ASSERT_TRUE(parts.tick());
    parts.clock.advanceSeconds(60);
    ASSERT_TRUE(parts.tick());

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u); // one token serves both polls
    EXPECT_EQ(requests[1].method + " " + requests[1].target,
              "GET " + kCountPath +
                  "?tmhCdateLt=1970-01-01T00:00:00.000%2B09:00"
                  "&tmhCdateGt=2026-12-06T09:30:15.000%2B09:00&comId=C1&rctCode=R1"
                  "&tmhSyncStatus=00,02"); // the clock says 00:30:15 UTC
    EXPECT_EQ(requests[1].header("Authorization"), "Bearer T1");
    EXPECT_EQ(requests[1].header("Content-Type"), "application/json");
    EXPECT_NE(requests[2].target.find("&tmhCdateGt=2026-12-06T09:31:15.000%2B09:00&"),
              std::string::npos);

    // A moment given in another zone is the same moment in Korea.
    parts.clock.set(QDateTime(QDate(2026, 12, 5), QTime(19, 30, 15), QTimeZone(-5 * 3600)));
    ASSERT_TRUE(parts.tick());
    EXPECT_NE(server.requests().back().target.find("&tmhCdateGt=2026-12-06T09:30:15.000"),
              std::string::npos);
}

TEST_F(PollTest, A401DropsTheTokenAndTheRetryWithAFreshOneCounts)
{
    answer(200, "4");
    ASSERT_TRUE(parts.tick());
    refused.insert("T1"); // the service restarted and forgot T1

    const auto result = parts.tick();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->count, 4.0);
    EXPECT_EQ(seen(), (std::vector<std::string>{"password", "count T1", "count T1", "refresh",
                                                "count T2"}));

    // Refused again: one retry only, and the next poll starts with a new grant.
    refused.insert({"T2", "T3"});
    EXPECT_EQ(parts.tick()->outcome, PollResult::Outcome::Refused);
    EXPECT_EQ(seen().size(), 8u); // count T2, refresh, count T3
    ASSERT_TRUE(parts.tick());
    EXPECT_EQ(seen()[8], "refresh");
}

// Which answers sound and show the popup the soak checks; here what the popup then says.
TEST_F(PollTest, ThePopupShowsOnlyCountsOfSuccessfulPolls)
{
    const Frm_TM_Main& popup = parts.popup;
    answer(200, "3");
    ASSERT_TRUE(parts.tick());
    EXPECT_EQ(popup.lblTELCNT->text(), QStringLiteral("3"));
    EXPECT_TRUE(popup.lblTELCNT->isVisibleTo(&popup) && popup.TimerHide->isActive());
    for (const char* body : {"", "1e999"}) { // an error status, a count too large to hold
        answer(body[0] ? 200 : 500, body);
        ASSERT_TRUE(parts.tick());
        EXPECT_EQ(popup.lblTELCNT->text(), QStringLiteral("3")) << body;
    }
    answer(200, "0");
    ASSERT_TRUE(parts.tick());
    EXPECT_FALSE(popup.lblTELCNT->isVisibleTo(&popup));
    EXPECT_EQ(popup.lblNoCount->text(), AlertTexts::noCountLine(0.0));
}

TEST_F(PollTest, AHangingRequestHoldsNeitherTheWindowNorTheNextPoll)
{
    answer(200, "5");
    parts.popup.TimerHide->setInterval(50);
    parts.popup.showPopup();
    parts.popup.TimerHide->start();
    m_silent = true;
    QSignalSpy done(&parts.poller, &AgentPoller::polled);
    parts.popup.TimerTELEMENU_Timer();
    parts.popup.TimerTELEMENU_Timer(); // ignored: polls never overlap
    // The popup hides on time while the request hangs.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !parts.popup.isVisible(); }, 250));
    EXPECT_TRUE(parts.poller.busy());
    ASSERT_TRUE(done.wait(5000));
    EXPECT_EQ(done.at(0).at(0).value<PollResult>().outcome, PollResult::Outcome::NoAnswer);
    EXPECT_TRUE(parts.sound.played.isEmpty());

    m_silent = false;
    ASSERT_TRUE(parts.tick());
    EXPECT_EQ(parts.popup.lblTELCNT->text(), QStringLiteral("5"));
    EXPECT_EQ(server.requests().size(), 3u); // the token, the silent poll, this one
}

TEST_F(PollTest, WhilePollsFailTheIconIsGreyAndTheTooltipSaysSinceWhenAndWhy)
{
    const qint64 normal = parts.tray.windowIcon().cacheKey();
    ASSERT_TRUE(parts.tick());
    answer(503, "");
    parts.clock.advanceSeconds(60);
    ASSERT_TRUE(parts.tick());
    parts.clock.advanceSeconds(60);
    ASSERT_TRUE(parts.tick());
    EXPECT_NE(parts.tray.trayIcon->icon().cacheKey(), normal);
    EXPECT_EQ(parts.tray.trayIcon->toolTip(), AlertTexts::toolTip(parts.poller.state()));
    EXPECT_EQ(parts.poller.state().failingSince, parts.clock.now().addSecs(-60)); // the first

    answer(200, "0");
    ASSERT_TRUE(parts.tick());
    EXPECT_EQ(parts.tray.trayIcon->icon().cacheKey(), normal);
    EXPECT_EQ(parts.tray.trayIcon->toolTip(), AlertTexts::toolTip(parts.poller.state()));
    EXPECT_FALSE(parts.poller.state().failingSince.isValid());

    parts.setService(server.baseUrl(), QStringLiteral("y")); // only exactly "Y" polls
    EXPECT_FALSE(parts.tick());
    EXPECT_TRUE(parts.popup.TimerTELEMENU->isActive());
    EXPECT_EQ(server.requests().size(), 5u);
}

} // namespace
