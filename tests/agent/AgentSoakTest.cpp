// A long run of polls against a local service that misbehaves in every way a real one can: error
// statuses, garbage, answers dripping in byte by byte, and no answer at all, for the token and
// the count alike. The agent must keep polling, show the popup exactly for counts above 0, and
// not grow. SWEEP_SOAK_POLLS sets the number of polls (default 300, 100 under CI).
#include "AgentParts.h"
#include "LocalHttpServer.h"

#include <QFile>
#include <gtest/gtest.h>
#include <iostream>
#ifndef _WIN32
#include <malloc.h>
#endif
#include <random>

namespace {

using namespace std::chrono_literals;

enum Answer
{
    Count,
    NoContent,
    Unauthorized,
    ServerError,
    Garbage,
    Drip,
    Silence
};
const int kWeights[] = {40, 10, 10, 10, 20, 3, 3}; // few slow ones, so the run stays short
constexpr auto kSlowAnswer = 900ms;                // a request gives up after 4 x 150 ms

struct Plan
{
    Answer answer = Count;
    int count = 0;       // -2 to 30
    std::string garbage; // never starts like a number
};

Plan draw(std::mt19937& random)
{
    std::discrete_distribution<int> kind(std::begin(kWeights), std::end(kWeights));
    Plan plan{Answer(kind(random)), std::uniform_int_distribution<int>(-2, 30)(random), "x"};
    for (int i = std::uniform_int_distribution<int>(0, 2000)(random); i > 0; --i)
        plan.garbage += char(random());
    return plan;
}

void answer(const Plan& plan, bool token, httplib::Response& r)
{
    switch (plan.answer) {
    case Count:
        return r.set_content(token ? "{\"access_token\":\"T\",\"token_type\":\"bearer\","
                                     "\"refresh_token\":\"R\",\"expires_in\":300}"
                                   : std::to_string(plan.count),
                             "text/plain");
    case NoContent:
    case Unauthorized:
    case ServerError:
        r.status = plan.answer == NoContent ? 204 : plan.answer == Unauthorized ? 401 : 500;
        return;
    case Garbage:
        return r.set_content(plan.garbage, "application/octet-stream");
    case Drip:
        return r.set_chunked_content_provider("text/plain", [](size_t at, httplib::DataSink& s) {
            std::this_thread::sleep_for(50ms);
            if (!s.is_writable() || !s.write("7", 1))
                return false;
            if (at * 50ms >= kSlowAnswer)
                s.done();
            return true;
        });
    case Silence: // bounded, so the server's threads come free for the polls that follow
        std::this_thread::sleep_for(kSlowAnswer);
        return r.set_content("5", "text/plain");
    }
}

// Resident memory after the allocator returned what is free, so what remains is what is held.
long residentKilobytes()
{
#ifdef _WIN32
    return -1; // not measured there
#else
    malloc_trim(0);
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
#endif
}

TEST(AgentSoak, KeepsPollingShowsOnlyCountsAboveZeroAndStaysFlat)
{
    const int polls = qEnvironmentVariableIsSet("SWEEP_SOAK_POLLS")
                          ? qEnvironmentVariableIntValue("SWEEP_SOAK_POLLS")
                      : qEnvironmentVariableIsSet("CI") ? 100
                                                        : 300;
    std::mt19937 random(20261206);
    std::vector<std::pair<Plan, Plan>> plans; // the count's answer, the token's
    for (int i = 0; i < polls; ++i)
        plans.emplace_back(draw(random), draw(random));
    // Poll i goes to /p<i>/..., so the service knows which plan a request (or its retry) follows.
    LocalHttpServer server;
    std::vector<std::atomic<bool>> seen(static_cast<size_t>(polls)); // all false
    server.setHandler([&](const httplib::Request& q, httplib::Response& r) {
        const size_t i = size_t(std::atoi(q.path.c_str() + 2));
        const bool token = q.path.ends_with("/oauth/token");
        seen.at(i) = seen.at(i) || !token;
        answer(token ? plans.at(i).second : plans.at(i).first, token, r);
    });
    AgentParts parts(150);
    ASSERT_TRUE(parts.db);

    int popups = 0;
    long before = 0;
    for (int i = 0; i < polls; ++i) {
        if (i == polls / 5)
            before = residentKilobytes();
        const Plan& plan = plans[size_t(i)].first;
        const bool shouldShow = plan.answer == Count && plan.count > 0;

        parts.setService(server.baseUrl() + QStringLiteral("p%1/").arg(i));
        const qsizetype played = parts.sound.played.size();
        ASSERT_TRUE(parts.tick()) << "poll " << i << " never ended";
        ASSERT_EQ(parts.popup.isVisible(), shouldShow) << "poll " << i << ": " << plan.answer;
        ASSERT_EQ(parts.sound.played.size() - played, shouldShow ? 1 : 0) << "poll " << i;
        ASSERT_TRUE(parts.popup.TimerTELEMENU->isActive()) << "poll " << i;
        popups += shouldShow;
        parts.popup.TimerHide_Timer();
        parts.clock.advanceSeconds(61); // the token runs out every few polls
    }
    const long after = residentKilobytes();
    std::cout << "soak: " << polls << " polls, " << popups << " popups; VmRSS " << before
              << " kB -> " << after << " kB" << std::endl;
    EXPECT_GT(popups, 0);
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](auto& s) { return s.load(); }));
#if !defined(__SANITIZE_ADDRESS__)       // its quarantine keeps freed memory
    EXPECT_LT(after - before, 8 * 1024); // one body per poll kept would pass this by far
#endif
}

} // namespace
