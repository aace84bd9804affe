#include "agentcore/CurlHttpRequest.h"
#include "LocalHttpServer.h"

#include <QElapsedTimer>
#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

// Unsafe requests are refused unsent; an answer is read in its charset, one above the cap is
// refused, and a stalled or trickling one ends in time.
TEST(CurlHttpRequest, RefusesUnsafeRequestsReadsTheCharsetAndCapsSizeAndTime)
{
    LocalHttpServer server;
    CurlHttpRequest http;
    const std::pair<QString, QString> unsafe[] = {
        {server.baseUrl(), "bearer abc\r\nX-Injected: 1"},
        {server.baseUrl(), "bearer abc\nX-Injected: 1"},
        {server.baseUrl().mid(7), "ok"}, // no scheme: libcurl would guess http
        {"file:///etc/passwd", "ok"}};
    for (const auto& [url, authorization] : unsafe) {
        http.open("GET", url);
        http.setRequestHeader("Authorization", authorization);
        EXPECT_FALSE(http.send()) << url.toStdString();
        EXPECT_FALSE(http.errorText().isEmpty());
    }
    EXPECT_TRUE(server.requests().empty());

    const QByteArray eucKr = QStringEncoder("EUC-KR").encode(QStringLiteral("주문 3건"));
    const std::string huge(size_t(CurlHttpRequest::kMaxBodyBytes) + 1, '7');
    server.setHandler([&](const httplib::Request& q, httplib::Response& r) {
        if (q.path == "/euc")
            return r.set_content(eucKr.toStdString(), "text/plain; charset=\"EUC-KR\"");
        if (q.path == "/stall")
            return server.hang();
        // Chunked: no Content-Length to refuse it by. A trickle sends a byte every 100 ms.
        const bool whole = q.path == "/huge";
        r.set_chunked_content_provider("text/plain", [&, whole](size_t, httplib::DataSink& sink) {
            if (!whole) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                return sink.write("1", 1); // fails once the client gave up
            }
            sink.write(huge.data(), huge.size());
            sink.done();
            return true;
        });
    });
    http.open("POST", server.baseUrl() + "euc");
    ASSERT_TRUE(http.send("a=1")) << http.errorText().toStdString();
    EXPECT_EQ(http.responseText(), QStringLiteral("주문 3건"));
    http.open("POST", server.baseUrl() + "huge"); // a POST without a body stays a POST
    EXPECT_FALSE(http.send());
    EXPECT_EQ(server.requests().back().method, "POST");
    EXPECT_EQ(http.status(), 0);
    EXPECT_EQ(http.responseText(), QString());

    // A server that never answers ends at the stall watch (it looks about once a second while
    // the line is quiet); one that trickles forever only at the hard cap (1000 + 400 + 400 ms).
    for (const bool trickles : {false, true}) {
        http.setTimeouts(0, trickles ? 1000 : 5000, trickles ? 400 : 300, trickles ? 400 : 300);
        http.open("GET", server.baseUrl() + (trickles ? "trickle" : "stall"));
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(http.send());
        EXPECT_EQ(http.errorText().contains("time-out"), !trickles)
            << http.errorText().toStdString();
        EXPECT_GE(timer.elapsed(), trickles ? 1700 : 300) << trickles;
        EXPECT_LT(timer.elapsed(), trickles ? 3500 : 2500) << trickles;
    }
}

} // namespace
