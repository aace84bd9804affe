// A long run of polls against a local service that misbehaves in every way a real one can: error
// statuses, garbage, a body larger than the agent takes, answers dripping in byte by byte, and no
// answer at all. The agent must keep polling, show the popup exactly for counts above 0, and not
// grow. SWEEP_SOAK_POLLS sets the number of polls (default 1000, 300 under CI).
//
// The service runs in a child process, so the memory measured is the agent's alone: a server in
// the same process would keep its 5 MB answers in its threads' heaps.
#include "RecordingSound.h"
#include "ShortTimeoutRequest.h"
#include "agent/CurlHttpRequest.h"
#include "agent/Frm_TM_Main.h"
#include "agent/Mod_TM.h"
#include "support/FixtureDatabase.h"
#include "support/ManualClock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <httplib.h>
#include <iostream>
#include <malloc.h>
#include <map>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// AddressSanitizer keeps freed memory in quarantine, so resident memory says nothing there; that
// build checks every access instead, and the plain build measures.
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

enum class Answer
{
    Count,     // 200 with a count, 0 and negative ones included
    NoContent, // 204
    Unauthorized,
    ServerError,
    Garbage, // 200 with bytes that are no number
    Huge,    // 200 with a 5 MB body of digits
    Drip,    // 200 with a count that arrives a byte at a time, slower than the request may take
    Silence, // the connection is taken and nothing comes back
};

// Weights: mostly answers, a few of the slow kinds so the run stays short.
const std::vector<std::pair<Answer, int>> kMix = {
    {Answer::Count, 40},       {Answer::NoContent, 10}, {Answer::Unauthorized, 10},
    {Answer::ServerError, 10}, {Answer::Garbage, 20},   {Answer::Huge, 4},
    {Answer::Drip, 3},         {Answer::Silence, 3},
};

const char* name(Answer a)
{
    switch (a) {
    case Answer::Count:
        return "count";
    case Answer::NoContent:
        return "204";
    case Answer::Unauthorized:
        return "401";
    case Answer::ServerError:
        return "500";
    case Answer::Garbage:
        return "garbage";
    case Answer::Huge:
        return "5 MB";
    case Answer::Drip:
        return "drip";
    case Answer::Silence:
        return "silence";
    }
    return "?";
}

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

// The request takes at most four times this; the slow answers last longer than that.
constexpr int kTimeoutMs = 150;
constexpr auto kSlowAnswer = 900ms;

struct Plan
{
    Answer answer = Answer::Count;
    int count = 0;
    std::string garbage;
};

void answer(const Plan& plan, httplib::Response& r)
{
    switch (plan.answer) {
    case Answer::Count:
        return r.set_content(std::to_string(plan.count), "text/plain");
    case Answer::NoContent:
        r.status = 204;
        return;
    case Answer::Unauthorized:
        r.status = 401;
        return r.set_content("7", "text/plain");
    case Answer::ServerError:
        r.status = 500;
        return r.set_content("9", "text/plain");
    case Answer::Garbage:
        return r.set_content(plan.garbage, "application/octet-stream");
    case Answer::Huge:
        return r.set_content(std::string(5 << 20, '9'), "text/plain");
    case Answer::Drip: {
        auto sent = std::make_shared<int>(0);
        r.set_chunked_content_provider("text/plain", [sent](size_t, httplib::DataSink& sink) {
            std::this_thread::sleep_for(50ms);
            if (!sink.is_writable() || !sink.write("7", 1))
                return false;
            if (++*sent * 50ms >= kSlowAnswer)
                sink.done();
            return true;
        });
        return;
    }
    case Answer::Silence:
        // Bounded, so the server's threads come free again for the polls that follow.
        std::this_thread::sleep_for(kSlowAnswer);
        return r.set_content("5", "text/plain");
    }
}

Plan draw(std::mt19937& random)
{
    int total = 0;
    for (const auto& [kind, weight] : kMix)
        total += weight;
    int pick = std::uniform_int_distribution<int>(0, total - 1)(random);
    Plan plan;
    for (const auto& [kind, weight] : kMix) {
        if (pick < weight) {
            plan.answer = kind;
            break;
        }
        pick -= weight;
    }
    plan.count = std::uniform_int_distribution<int>(-2, 30)(random);
    // Garbage never starts like a number, so no count can be read from it.
    plan.garbage = "x";
    const int length = std::uniform_int_distribution<int>(0, 2000)(random);
    for (int i = 0; i < length; ++i)
        plan.garbage += char(std::uniform_int_distribution<int>(0, 255)(random));
    return plan;
}

struct PollPlan
{
    Plan count; // the answer to the poll
    Plan token; // the answer to a token request, should the poll make one
};

// Each poll i goes to base URL /p<i>/, so the service knows from the path which planned answer
// the request gets; both processes hold the same plans.
class SoakService
{
public:
    explicit SoakService(const std::vector<PollPlan>& plans)
    {
        int ports[2];
        if (::pipe(ports) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ports[0]);
            serve(plans, ports[1]);
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
    SoakService(const SoakService&) = delete;
    SoakService& operator=(const SoakService&) = delete;

    bool isRunning() const { return m_pid > 0 && m_port > 0; }
    QString baseUrl(int poll) const
    {
        return QStringLiteral("http://127.0.0.1:%1/p%2/").arg(m_port).arg(poll);
    }

private:
    [[noreturn]] static void serve(const std::vector<PollPlan>& plans, int portPipe)
    {
        httplib::Server server;
        std::atomic<int> polls = 0;
        auto handle = [&](const httplib::Request& q, httplib::Response& r) {
            if (q.path == "/seen")
                return r.set_content(std::to_string(polls.load()), "text/plain");
            // "/p<i>/oauth/token" or "/p<i>/<count path>"
            const std::size_t slash = q.path.find('/', 1);
            const std::size_t i = std::size_t(std::atoi(q.path.c_str() + 2));
            if (q.path.rfind("/p", 0) != 0 || slash == std::string::npos || i >= plans.size()) {
                r.status = 404;
                return;
            }
            const bool token = q.path.compare(slash, std::string::npos, "/oauth/token") == 0;
            const Plan& plan = token ? plans[i].token : plans[i].count;
            if (!token)
                ++polls;
            if (token && plan.answer == Answer::Count)
                return r.set_content("{\"access_token\":\"T\",\"token_type\":\"bearer\","
                                     "\"refresh_token\":\"R\",\"expires_in\":300}",
                                     "application/json");
            answer(plan, r);
        };
        server.Get(".*", handle);
        server.Post(".*", handle);
        const int port = server.bind_to_any_port("127.0.0.1");
        if (::write(portPipe, &port, sizeof port) != sizeof port)
            ::_exit(1);
        ::close(portPipe);
        // Ends when the test kills it; bounded anyway should the test die first.
        std::thread watchdog([] {
            std::this_thread::sleep_for(std::chrono::minutes(10));
            ::_exit(0);
        });
        watchdog.detach();
        server.listen_after_bind();
        ::_exit(0);
    }

    pid_t m_pid = -1;
    int m_port = 0;
};

class AgentSoakTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_db); }

    void setBaseUrl(const QString& url)
    {
        AgentSettings s;
        s.baseUrl = url;
        s.comId = QStringLiteral("C1");
        s.rctCode = QStringLiteral("R1");
        s.posId = QStringLiteral("01");
        s.pollEnabled = QStringLiteral("Y");
        tm.setSettings(s);
    }

    FixtureDatabase fixture;
    std::unique_ptr<Mod_DB> m_db = fixture.connect();
    ManualClock clock{QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0))};
    CurlHttpRequest curl;
    ShortTimeoutRequest http{curl, kTimeoutMs};
    Mod_TM tm{http, m_db.get(), clock};
    RecordingSound sound;
    Frm_TM_Main popup{tm, sound, QStringLiteral("Telemenu.wav"), 3600000, 10000};
};

TEST_F(AgentSoakTest, KeepsPollingShowsOnlyCountsAboveZeroAndStaysFlat)
{
    const int polls = qEnvironmentVariableIsSet("SWEEP_SOAK_POLLS")
                          ? qEnvironmentVariableIntValue("SWEEP_SOAK_POLLS")
                      : qEnvironmentVariableIsSet("CI") ? 300
                                                        : 1000;
    const int warmUp = qMin(100, polls / 5);
    std::mt19937 random(20261206);
    std::vector<PollPlan> plans;
    for (int i = 0; i < polls; ++i) {
        PollPlan plan;
        plan.count = draw(random);
        plan.token = draw(random);
        plans.push_back(std::move(plan));
    }
    const SoakService service(plans);
    ASSERT_TRUE(service.isRunning());

    std::map<Answer, int> drawn;
    int expectedPopups = 0;
    int popups = 0;
    long before = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int i = 0; i < polls; ++i) {
        if (i == warmUp)
            before = residentKilobytes();
        const Plan& plan = plans[size_t(i)].count;
        ++drawn[plan.answer];
        const bool shouldShow = plan.answer == Answer::Count && plan.count > 0;
        expectedPopups += shouldShow;

        setBaseUrl(service.baseUrl(i));
        const qsizetype played = sound.played.size();
        popup.TimerTELEMENU_Timer();

        EXPECT_EQ(popup.isVisible(), shouldShow)
            << "poll " << i << ": " << name(plan.answer) << " " << plan.count;
        EXPECT_EQ(sound.played.size() - played, shouldShow ? 1 : 0) << "poll " << i;
        EXPECT_TRUE(popup.TimerTELEMENU->isActive()) << "poll " << i << " armed no next poll";
        popups += popup.isVisible();
        popup.TimerHide_Timer();
        clock.advanceSeconds(61); // the token runs out every few polls
        if (HasFailure())
            break;
    }
    const long after = residentKilobytes();

    std::string mix;
    for (const auto& [kind, count] : drawn)
        mix += std::string(name(kind)) + "=" + std::to_string(count) + " ";
    std::cout << "soak: " << polls << " polls in " << elapsed.elapsed() << " ms, " << popups
              << " popups; VmRSS " << before << " kB after " << warmUp << " polls, " << after
              << " kB at the end; answers: " << mix << std::endl;
    RecordProperty("polls", polls);
    RecordProperty("rss_before_kb", int(before));
    RecordProperty("rss_after_kb", int(after));

    EXPECT_EQ(popups, expectedPopups);
    EXPECT_GT(expectedPopups, 0);
    // Keeping one 4 MB body per poll, or a few kilobytes of every poll, would pass this by far.
    if (SWEEP_MEMORY_MEASURED) {
        EXPECT_LT(after - before, 8 * 1024) << before << " kB -> " << after << " kB";
    }

    // The service saw every poll: the agent never stopped asking.
    CurlHttpRequest check;
    check.open(QStringLiteral("GET"), service.baseUrl(0).section('/', 0, 2) + "/seen");
    ASSERT_TRUE(check.send()) << check.errorText().toStdString();
    EXPECT_EQ(check.responseText().toInt(), polls);
}

} // namespace
