// A long run of polls against a local service that misbehaves in every way a real one can: error
// statuses, garbage and no answer at all, for the token and the count alike. The agent must keep
// polling, show the popup exactly for counts above 0 while it holds a token, and not grow.
// SWEEP_SOAK_POLLS sets the number of polls (default 300, 100 under CI).
#include "AgentParts.h"
#include "LocalHttpServer.h"

#include <array>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#ifndef _WIN32
#include <malloc.h>
#include <unistd.h>
#endif

namespace {

// One answer of the service, drawn at random: a count (a token to a grant), a status without a
// body, garbage (never starting like a number), or nothing for longer than a request waits.
// Few slow ones, so the run stays short.
struct Plan
{
    explicit Plan(std::mt19937& random)
        : kind(std::discrete_distribution<int>({40, 30, 20, 6})(random)),
          count(std::uniform_int_distribution<int>(-2, 30)(random)),
          status(std::array{204, 401, 500}[random() % 3]), garbage(1 + random() % 2000, 'x')
    {
        std::generate(garbage.begin() + 1, garbage.end(), [&] { return char(random()); });
    }
    bool shows() const { return kind == 0 && count > 0; }
    void answer(bool token, httplib::Response& r) const
    {
        if (kind == 0)
            r.set_content(token ? "{\"access_token\":\"T\",\"token_type\":\"bearer\","
                                  "\"refresh_token\":\"R\",\"expires_in\":300}"
                                : std::to_string(count),
                          "text/plain");
        else if (kind == 1)
            r.status = status;
        else if (kind == 2)
            r.set_content(garbage, "application/octet-stream");
        else // a request gives up after 4 x 150 ms; the server's thread comes free after this
            std::this_thread::sleep_for(std::chrono::milliseconds(900));
    }

    int kind, count, status;
    std::string garbage;
};

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
    int polls = qEnvironmentVariableIntValue("SWEEP_SOAK_POLLS");
    if (polls <= 0)
        polls = qEnvironmentVariableIsSet("CI") ? 100 : 300;
    std::mt19937 random(20261206);
    std::vector<std::pair<Plan, Plan>> plans; // the count's answer, the token's
    for (int i = 0; i < polls; ++i)
        plans.emplace_back(Plan(random), Plan(random));
    // Poll i goes to /p<i>/..., so the service knows which plan a request (or its retry) follows.
    LocalHttpServer server;
    server.setHandler([&](const httplib::Request& q, httplib::Response& r) {
        const size_t i = size_t(std::atoi(q.path.c_str() + 2));
        const bool token = q.path.ends_with("/oauth/token");
        (token ? plans.at(i).second : plans.at(i).first).answer(token, r);
    });
    AgentParts parts(150);
    ASSERT_TRUE(parts.db);

    long before = 0;
    bool held = false; // a token, maybe an old one kept after a failed renewal
    for (int i = 0; i < polls; ++i) {
        if (i == polls / 5)
            before = residentKilobytes();
        const auto& [count, token] = plans[size_t(i)];
        held = held || token.kind == 0;           // without one a grant is asked for
        const bool shows = held && count.shows(); // no token, no poll
        if (count.kind == 1 && count.status == 401)
            held = false; // dropped, and the retry's token is refused again
        parts.setService(server.baseUrl() + QStringLiteral("p%1/").arg(i));
        const qsizetype played = parts.sound.played.size();
        ASSERT_TRUE(parts.tick()) << "poll " << i << " never ended";
        ASSERT_EQ(parts.popup.isVisible(), shows) << "poll " << i;
        ASSERT_EQ(parts.sound.played.size() - played, shows ? 1 : 0) << "poll " << i;
        ASSERT_TRUE(parts.popup.TimerTELEMENU->isActive()) << "poll " << i;
        parts.popup.TimerHide_Timer();
        parts.clock.advanceSeconds(61); // the token runs out every few polls
    }
    const long after = residentKilobytes();
    EXPECT_GT(parts.sound.played.size(), 0); // some polls did show the popup
#if !defined(__SANITIZE_ADDRESS__)           // its quarantine keeps freed memory
    // One body kept per poll would go far beyond this.
    EXPECT_LT(after - before, 8 * 1024) << before << " kB before, " << after << " kB after";
#endif
}

} // namespace
