// A long run of polls against a local service that misbehaves in every way a real one can: error
// statuses, garbage, a body larger than the agent takes, answers dripping in byte by byte, and no
// answer at all. The agent must keep polling, show the popup exactly for counts above 0, and not
// grow. SWEEP_SOAK_POLLS sets the number of polls (default 400, 150 under CI).
//
// The service runs in a child process, so the memory measured is the agent's alone: a server in
// the same process would keep its 5 MB answers in its threads' heaps.
#include "AgentParts.h"

#include <QFile>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <httplib.h>
#include <iostream>
#include <malloc.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// AddressSanitizer keeps freed memory in quarantine, so resident memory says nothing there.
#if defined(__SANITIZE_ADDRESS__)
#define SWEEP_MEMORY_MEASURED 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SWEEP_MEMORY_MEASURED 0
#endif
#endif
#ifndef SWEEP_MEMORY_MEASURED
#define SWEEP_MEMORY_MEASURED 1
#endif

namespace {

using namespace std::chrono_literals;

// The kinds of answer, weighted: mostly answers, a few slow ones so the run stays short.
enum Answer
{
    Count,
    NoContent,
    Unauthorized,
    ServerError,
    Garbage,
    Huge,
    Drip,
    Silence
};
const int kWeights[] = {40, 10, 10, 10, 20, 4, 3, 3};

constexpr int kTimeoutMs = 150; // a request takes at most four times this
constexpr auto kSlowAnswer = 900ms;

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
    const int length = std::uniform_int_distribution<int>(0, 2000)(random);
    for (int i = 0; i < length; ++i)
        plan.garbage += char(std::uniform_int_distribution<int>(0, 255)(random));
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
        r.status = 204;
        return;
    case Unauthorized:
    case ServerError:
        r.status = plan.answer == Unauthorized ? 401 : 500;
        return r.set_content("7", "text/plain");
    case Garbage:
        return r.set_content(plan.garbage, "application/octet-stream");
    case Huge:
        return r.set_content(std::string(5 << 20, '9'), "text/plain");
    case Drip:
        r.set_chunked_content_provider("text/plain", [](size_t at, httplib::DataSink& sink) {
            std::this_thread::sleep_for(50ms);
            if (!sink.is_writable() || !sink.write("7", 1))
                return false;
            if (at * 50ms >= kSlowAnswer)
                sink.done();
            return true;
        });
        return;
    case Silence: // bounded, so the server's threads come free for the polls that follow
        std::this_thread::sleep_for(kSlowAnswer);
        return r.set_content("5", "text/plain");
    }
}

// Poll i goes to /p<i>/..., so the service in its own process knows which planned answers the
// requests get (the count's, or the token's); /seen says how many polls arrived.
class SoakService
{
public:
    explicit SoakService(const std::vector<std::pair<Plan, Plan>>& plans)
    {
        int ports[2];
        if (::pipe(ports) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            httplib::Server server;
            std::atomic<int> polls = 0; // a 401 is asked again: count each poll once
            std::vector<std::atomic<bool>> seen(plans.size());
            auto handle = [&](const httplib::Request& q, httplib::Response& r) {
                if (q.path == "/seen")
                    return r.set_content(std::to_string(polls.load()), "text/plain");
                const std::size_t i = std::size_t(std::atoi(q.path.c_str() + 2));
                const bool token = q.path.ends_with("/oauth/token");
                polls += !token && !seen.at(i).exchange(true);
                answer(token ? plans.at(i).second : plans.at(i).first, token, r);
            };
            server.Get(".*", handle);
            server.Post(".*", handle);
            const int port = server.bind_to_any_port("127.0.0.1");
            if (::write(ports[1], &port, sizeof port) != sizeof port)
                ::_exit(1);
            std::thread([] { // should the test die first
                std::this_thread::sleep_for(std::chrono::minutes(10));
                ::_exit(0);
            })
                .detach();
            server.listen_after_bind();
            ::_exit(0);
        }
        ::close(ports[1]);
        if (m_pid > 0 && ::read(ports[0], &m_port, sizeof m_port) != sizeof m_port)
            m_port = 0;
        ::close(ports[0]);
    }
    ~SoakService()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    bool isRunning() const { return m_pid > 0 && m_port > 0; }
    QString url(const QString& path) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_port).arg(path);
    }

private:
    pid_t m_pid = -1;
    int m_port = 0;
};

// Resident memory after the allocator returned what is free, so what remains is what is held.
long residentKilobytes()
{
    malloc_trim(0);
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

TEST(AgentSoak, KeepsPollingShowsOnlyCountsAboveZeroAndStaysFlat)
{
    const int polls = qEnvironmentVariableIsSet("SWEEP_SOAK_POLLS")
                          ? qEnvironmentVariableIntValue("SWEEP_SOAK_POLLS")
                      : qEnvironmentVariableIsSet("CI") ? 150
                                                        : 400;
    const int warmUp = qMin(50, polls / 5);
    std::mt19937 random(20261206);
    std::vector<std::pair<Plan, Plan>> plans; // the count's answer, the token's
    for (int i = 0; i < polls; ++i)
        plans.emplace_back(draw(random), draw(random));
    const SoakService service(plans);
    ASSERT_TRUE(service.isRunning());
    AgentParts parts(kTimeoutMs);
    ASSERT_TRUE(parts.db);

    int expectedPopups = 0;
    int popups = 0;
    long before = 0;
    for (int i = 0; i < polls; ++i) {
        if (i == warmUp)
            before = residentKilobytes();
        const Plan& plan = plans[size_t(i)].first;
        const bool shouldShow = plan.answer == Count && plan.count > 0;
        expectedPopups += shouldShow;

        parts.setService(service.url(QStringLiteral("p%1/").arg(i)));
        const qsizetype played = parts.sound.played.size();
        ASSERT_TRUE(parts.tick()) << "poll " << i << " never ended";
        EXPECT_EQ(parts.popup.isVisible(), shouldShow) << "poll " << i << ": " << plan.answer;
        EXPECT_EQ(parts.sound.played.size() - played, shouldShow ? 1 : 0) << "poll " << i;
        EXPECT_TRUE(parts.popup.TimerTELEMENU->isActive()) << "poll " << i;
        popups += parts.popup.isVisible();
        parts.popup.TimerHide_Timer();
        parts.clock.advanceSeconds(61); // the token runs out every few polls
        if (::testing::Test::HasFailure())
            break;
    }
    const long after = residentKilobytes();
    std::cout << "soak: " << polls << " polls, " << popups << " popups; VmRSS " << before
              << " kB after " << warmUp << " polls, " << after << " kB at the end" << std::endl;

    EXPECT_EQ(popups, expectedPopups);
    EXPECT_GT(expectedPopups, 0);
    // Keeping one 4 MB body per poll, or a few kilobytes of every poll, would pass this by far.
    if (SWEEP_MEMORY_MEASURED)
        EXPECT_LT(after - before, 8 * 1024) << before << " kB -> " << after << " kB";

    CurlHttpRequest check; // the service saw every poll: the agent never stopped asking
    check.open(QStringLiteral("GET"), service.url(QStringLiteral("seen")));
    ASSERT_TRUE(check.send()) << check.errorText().toStdString();
    EXPECT_EQ(check.responseText().toInt(), polls);
}

} // namespace
