#include "agent/CurlHttpRequest.h"
#include "LocalHttpServer.h"

#include <QElapsedTimer>
#include <QStringEncoder>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(CurlHttpRequest, SendsMethodHeadersAndBodyAndReadsTheAnswer)
{
    LocalHttpServer server;
    server.setHandler([](const httplib::Request&, httplib::Response& r) {
        r.status = 201;
        r.set_content("{\"a\":\"주문\"}", "application/json; charset=utf-8");
    });
    CurlHttpRequest http;
    http.open(QStringLiteral("POST"), server.baseUrl() + QStringLiteral("oauth/token"));
    http.setRequestHeader(QStringLiteral("Content-Type"), QStringLiteral("text/plain"));
    http.setRequestHeader(QStringLiteral("X-Shop"), QStringLiteral("강남점"));
    ASSERT_TRUE(http.send("a=1&b=2")) << http.errorText().toStdString();
    EXPECT_EQ(http.status(), 201);
    EXPECT_EQ(http.responseText(), QStringLiteral("{\"a\":\"주문\"}"));

    const auto seen = server.requests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "POST");
    EXPECT_EQ(seen[0].target, "/oauth/token");
    EXPECT_EQ(seen[0].body, "a=1&b=2");
    EXPECT_EQ(seen[0].header("Content-Type"), "text/plain");
    EXPECT_EQ(seen[0].header("X-Shop"), "강남점");

    // The next request starts clean: no headers or answer of the previous one.
    server.setHandler([](const httplib::Request&, httplib::Response& r) { r.status = 204; });
    http.open(QStringLiteral("GET"), server.baseUrl() + QStringLiteral("x?y=%2B"));
    ASSERT_TRUE(http.send());
    EXPECT_EQ(http.status(), 204);
    EXPECT_EQ(http.responseText(), QString());
    const auto again = server.requests();
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[1].method, "GET");
    EXPECT_EQ(again[1].target, "/x?y=%2B");
    EXPECT_EQ(again[1].header("X-Shop"), "<absent>");
}

TEST(CurlHttpRequest, DecodesTheAnswerInItsDeclaredCharset)
{
    LocalHttpServer server;
    QStringEncoder toEucKr("EUC-KR");
    ASSERT_TRUE(toEucKr.isValid());
    const QByteArray eucKr = toEucKr.encode(QStringLiteral("주문 3건"));
    server.setHandler([&](const httplib::Request& q, httplib::Response& r) {
        if (q.path == "/euc")
            r.set_content(eucKr.toStdString(), "text/plain; charset=\"EUC-KR\"");
        else
            r.set_content("주문 3건", "text/plain"); // no charset: UTF-8
    });
    CurlHttpRequest http;
    for (const char* path : {"euc", "plain"}) {
        http.open(QStringLiteral("GET"), server.baseUrl() + QLatin1String(path));
        ASSERT_TRUE(http.send());
        EXPECT_EQ(http.responseText(), QStringLiteral("주문 3건")) << path;
    }
}

struct SizeRow
{
    qsizetype bytes;
    bool chunked; // no Content-Length: the cap must hold while reading
    bool accepted;
};

class BodyCapTest : public ::testing::TestWithParam<SizeRow>
{
};

TEST_P(BodyCapTest, RefusesAnswersAboveTheCap)
{
    const SizeRow row = GetParam();
    LocalHttpServer server;
    const std::string body(size_t(row.bytes), '7');
    server.setHandler([&](const httplib::Request&, httplib::Response& r) {
        if (!row.chunked) {
            r.set_content(body, "text/plain");
            return;
        }
        r.set_chunked_content_provider("text/plain", [&](size_t offset, httplib::DataSink& sink) {
            const size_t piece = std::min<size_t>(64 * 1024, body.size() - offset);
            if (piece > 0)
                sink.write(body.data() + offset, piece);
            if (offset + piece >= body.size())
                sink.done();
            return true;
        });
    });
    CurlHttpRequest http;
    http.open(QStringLiteral("GET"), server.baseUrl());
    EXPECT_EQ(http.send(), row.accepted) << http.errorText().toStdString();
    EXPECT_EQ(http.status(), row.accepted ? 200 : 0);
    EXPECT_EQ(http.responseText().size(), row.accepted ? row.bytes : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BodyCapTest,
    ::testing::Values(SizeRow{CurlHttpRequest::kMaxBodyBytes, false, true},
                      SizeRow{CurlHttpRequest::kMaxBodyBytes + 1, false, false},
                      SizeRow{CurlHttpRequest::kMaxBodyBytes, true, true},
                      SizeRow{CurlHttpRequest::kMaxBodyBytes + 1, true, false}));

TEST(CurlHttpRequest, RefusesUnsafeRequestsWithoutSendingThem)
{
    LocalHttpServer server;
    server.setHandler([](const httplib::Request&, httplib::Response& r) { r.status = 200; });
    CurlHttpRequest http;
    const QString host = server.baseUrl().mid(int(strlen("http://")));

    struct Case
    {
        QString url;
        QString headerValue;
    };
    const Case cases[] = {
        {server.baseUrl(), QStringLiteral("bearer abc\r\nX-Injected: 1")},
        {server.baseUrl(), QStringLiteral("bearer abc\nX-Injected: 1")},
        {host + QStringLiteral("x"), QStringLiteral("ok")}, // no scheme
        {QStringLiteral("file:///etc/passwd"), QStringLiteral("ok")},
        {QString(), QStringLiteral("ok")},
    };
    for (const Case& c : cases) {
        http.open(QStringLiteral("GET"), c.url);
        http.setRequestHeader(QStringLiteral("Authorization"), c.headerValue);
        EXPECT_FALSE(http.send()) << c.url.toStdString();
        EXPECT_EQ(http.status(), 0);
        EXPECT_FALSE(http.errorText().isEmpty());
    }
    EXPECT_EQ(server.requestCount(), 0u);
}

struct SlowRow
{
    const char* name;
    bool trickles; // false: accepts and never answers; true: one byte every 100 ms, forever
    int connectMs;
    int stallMs;
    qint64 atLeastMs;
    qint64 atMostMs;
};

class SlowServerTest : public ::testing::TestWithParam<SlowRow>
{
};

TEST_P(SlowServerTest, EndsWithinItsTimeOut)
{
    const SlowRow row = GetParam();
    LocalHttpServer server;
    server.setHandler([&](const httplib::Request&, httplib::Response& r) {
        if (!row.trickles) {
            server.hang();
            return;
        }
        r.set_chunked_content_provider("text/plain", [&](size_t, httplib::DataSink& sink) {
            if (server.closing())
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            return sink.write("1", 1);
        });
    });
    CurlHttpRequest http;
    http.setTimeouts(0, row.connectMs, row.stallMs, row.stallMs);
    http.open(QStringLiteral("GET"), server.baseUrl());
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(http.send());
    EXPECT_GE(timer.elapsed(), row.atLeastMs);
    EXPECT_LT(timer.elapsed(), row.atMostMs);
    EXPECT_EQ(http.status(), 0);
    EXPECT_FALSE(http.errorText().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Servers, SlowServerTest,
    ::testing::Values(
        // Nothing moves: the stall watch ends it long before the 5.6 s cap (it looks about
        // once a second while the line is quiet).
        SlowRow{"Silent", false, 5000, 300, 300, 2500},
        // Bytes keep coming, so the stall watch never fires: the cap (1000+400+400) does.
        SlowRow{"Trickling", true, 1000, 400, 1700, 3500}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CurlHttpRequest, AClosedPortFailsAtOnce)
{
    QString url;
    {
        LocalHttpServer gone;
        url = gone.baseUrl();
    }
    CurlHttpRequest http;
    http.open(QStringLiteral("GET"), url);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(http.send());
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(http.status(), 0);
    EXPECT_FALSE(http.errorText().isEmpty());
}

} // namespace
