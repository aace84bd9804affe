#include "agent/CurlHttpRequest.h"
#include "LocalHttpServer.h"

#include <QElapsedTimer>
#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

TEST(CurlHttpRequest, SendsTheRequestAndReadsTheAnswerInItsCharset)
{
    LocalHttpServer server;
    QStringEncoder toEucKr("EUC-KR");
    const std::string eucKr = QByteArray(toEucKr.encode(QStringLiteral("주문 3건"))).toStdString();
    server.setHandler([&](const httplib::Request& q, httplib::Response& r) {
        r.status = 201;
        if (q.path == "/euc")
            r.set_content(eucKr, "text/plain; charset=\"EUC-KR\"");
        else
            r.set_content("주문 3건", "text/plain"); // no charset: UTF-8
    });
    CurlHttpRequest http;
    http.open(QStringLiteral("POST"), server.baseUrl() + QStringLiteral("euc?y=%2B"));
    http.setRequestHeader(QStringLiteral("X-Shop"), QStringLiteral("강남점"));
    ASSERT_TRUE(http.send("a=1&b=2")) << http.errorText().toStdString();
    EXPECT_EQ(http.status(), 201);
    EXPECT_EQ(http.responseText(), QStringLiteral("주문 3건"));

    http.open(QStringLiteral("GET"), server.baseUrl() + QStringLiteral("utf"));
    ASSERT_TRUE(http.send());
    EXPECT_EQ(http.responseText(), QStringLiteral("주문 3건"));

    const auto seen = server.requests();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].method + " " + seen[0].target + " " + seen[0].body,
              "POST /euc?y=%2B a=1&b=2");
    EXPECT_EQ(seen[0].header("X-Shop"), "강남점");
    EXPECT_EQ(seen[1].method + " " + seen[1].target, "GET /utf");
    EXPECT_EQ(seen[1].header("X-Shop"), "<absent>"); // headers belong to one request
}

class BodyCapTest : public ::testing::TestWithParam<std::tuple<qsizetype, bool>>
{
};

TEST_P(BodyCapTest, RefusesAnswersAboveTheCap)
{
    const auto [bytes, chunked] = GetParam(); // chunked: no Content-Length to refuse early
    const bool accepted = bytes <= CurlHttpRequest::kMaxBodyBytes;
    const std::string body(size_t(bytes), '7');
    LocalHttpServer server;
    server.setHandler([&](const httplib::Request&, httplib::Response& r) {
        if (!chunked)
            return r.set_content(body, "text/plain");
        r.set_chunked_content_provider("text/plain", [&](size_t at, httplib::DataSink& sink) {
            const size_t piece = std::min<size_t>(65536, body.size() - at);
            if (!sink.write(body.data() + at, piece))
                return false;
            if (at + piece == body.size())
                sink.done();
            return true;
        });
    });
    CurlHttpRequest http;
    http.open(QStringLiteral("GET"), server.baseUrl());
    EXPECT_EQ(http.send(), accepted) << http.errorText().toStdString();
    EXPECT_EQ(http.status(), accepted ? 200 : 0);
    EXPECT_EQ(http.responseText().size(), accepted ? bytes : 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BodyCapTest,
                         ::testing::Combine(::testing::Values(CurlHttpRequest::kMaxBodyBytes,
                                                              CurlHttpRequest::kMaxBodyBytes + 1),
                                            ::testing::Bool()));

TEST(CurlHttpRequest, RefusesUnsafeRequestsWithoutSendingThem)
{
    LocalHttpServer server;
    const QString noScheme = server.baseUrl().mid(7);
    const std::pair<QString, QString> cases[] = {
        {server.baseUrl(), QStringLiteral("bearer abc\r\nX-Injected: 1")},
        {server.baseUrl(), QStringLiteral("bearer abc\nX-Injected: 1")},
        {noScheme, QStringLiteral("ok")}, // libcurl would guess http
        {QStringLiteral("file:///etc/passwd"), QStringLiteral("ok")},
    };
    CurlHttpRequest http;
    for (const auto& [url, authorization] : cases) {
        http.open(QStringLiteral("GET"), url);
        http.setRequestHeader(QStringLiteral("Authorization"), authorization);
        EXPECT_FALSE(http.send()) << url.toStdString();
        EXPECT_EQ(http.status(), 0);
        EXPECT_FALSE(http.errorText().isEmpty());
    }
    EXPECT_TRUE(server.requests().empty());
}

struct SlowRow
{
    const char* name;
    bool trickles; // false: never answers; true: one byte every 100 ms, forever
    int connectMs, stallMs;
    qint64 atLeastMs, atMostMs;
};

class SlowServerTest : public ::testing::TestWithParam<SlowRow>
{
};

TEST_P(SlowServerTest, EndsWithinItsTimeOut)
{
    const SlowRow row = GetParam();
    LocalHttpServer server;
    server.setHandler([&](const httplib::Request&, httplib::Response& r) {
        if (!row.trickles)
            return server.hang();
        r.set_chunked_content_provider("text/plain", [](size_t, httplib::DataSink& sink) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            return sink.write("1", 1); // fails once the client gave up
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
}

INSTANTIATE_TEST_SUITE_P(Servers, SlowServerTest,
                         ::testing::Values(
                             // Nothing moves: the stall watch (it looks about once a second while
                             // the line is quiet) ends it long before the 5.6 s cap.
                             SlowRow{"Silent", false, 5000, 300, 300, 2500},
                             // Bytes keep coming, so only the cap (1000 + 400 + 400 ms) ends it.
                             SlowRow{"Trickling", true, 1000, 400, 1700, 3500}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
