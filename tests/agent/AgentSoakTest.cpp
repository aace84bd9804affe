// A long run of polls against a local service that misbehaves in every way a real one can: error
// statuses, garbage, answers dripping in byte by byte, and no answer at all, for the token and
// the count alike. The agent must keep polling, show the popup exactly for counts above 0, and
// not grow. SWEEP_SOAK_POLLS sets the number of polls (default 300, 100 under CI).
#include "AgentParts.h"
#include "LocalHttpServer.h"

#include <array>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#ifndef _WIN32
#include <malloc.h>
#include <unistd.h>
#endif

namespace {

using namespace std::chrono_literals;

// What the service answers, drawn at random: a count (or a token), a status without a body,
// garbage (never starting like a number), a count dripping in, or nothing for a while.
constexpr int Count = 0, Status = 1, Garbage = 2, Drip = 3; // 4: silence
constexpr auto kSlowAnswer = 900ms;                         // a request gives up after 4 x 150 ms

struct Plan
{
    int answer;
    int value; // the count (-2 to 30), or the status
    std::string garbage;
};

Plan draw(std::mt19937& random)
{
    // Few slow ones, so the run stays short.
    Plan plan{std::discrete_distribution<int>({40, 30, 20, 3, 3})(random),
              std::uniform_int_distribution<int>(-2, 30)(random), "x"};
    if (plan.answer == Status)
        plan.value = std::array{204, 401, 500}[random() % 3];
    for (int i = std::uniform_int_distribution<int>(0, 2000)(random); i > 0; --i)
        plan.garbage += char(random());
    return plan;
}

void answer(const Plan& plan, bool token, httplib::Response& r)
{
    if (plan.answer == Count)
        r.set_content(token ? "{\"access_token\":\"T\",\"token_type\":\"bearer\","
                              "\"refresh_token\":\"R\",\"expires_in\":300}"
                            : std::to_string(plan.value),
                      "text/plain");
    else if (plan.answer == Status)
        r.status = plan.value;
    else if (plan.answer == Garbage)
        r.set_content(plan.garbage, "application/octet-stream");
    else if (plan.answer == Drip)
        r.set_chunked_content_provider("text/plain", [](size_t at, httplib::DataSink& s) {
            std::this_thread::sleep_for(50ms);
            if (!s.is_writable() || !s.write("7", 1))
                return false;
            if (at * 50ms >= kSlowAnswer)
                s.done();
            return true;
        });
    else { // Silence, bounded so the server's threads come free for the polls that follow
        std::this_thread::sleep_for(kSlowAnswer);
        r.set_content("5", "text/plain");
    }
}

// Resident memory after the allocator returned what is free, so what remains is what is held.
long residentKilobytes()
{
#ifdef _WIN32
    return 0; // not measured there
#else
    malloc_trim(0);
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
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
        const bool shouldShow = plan.answer == Count && plan.value > 0;

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
    std::cout << "soak: " << polls << " polls, " << popups << " popups; resident " << before
              << " kB -> " << after << " kB" << std::endl;
    EXPECT_GT(popups, 0);
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](auto& s) { return s.load(); }));
#if !defined(__SANITIZE_ADDRESS__)       // its quarantine keeps freed memory
    EXPECT_LT(after - before, 8 * 1024); // one body per poll kept would pass this by far
#endif
}

} // namespace
