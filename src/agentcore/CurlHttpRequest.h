#pragma once

#include "agentcore/HttpRequest.h"

#include <QList>
#include <atomic>

// HttpRequest over libcurl's easy interface, blocking the calling thread.
//
// Resolve plus connect share one connection time-out. Once connected, a transfer that moves no
// byte for the send (while the body goes out) or receive (while waiting for and reading the
// answer) time-out is aborted; a hard cap, the sum of all four, bounds the whole request.
// Only http and https are spoken, redirects are followed (at most 5), proxies from the
// environment are ignored (the POS computer talks to the service directly), and an answer
// larger than kMaxBodyBytes is refused so a broken or hostile server cannot exhaust memory.
class CurlHttpRequest final : public HttpRequest
{
public:
    static constexpr qsizetype kMaxBodyBytes = 4 * 1024 * 1024;
    // Used until setTimeouts() is called; the poll's own values.
    static constexpr int kDefaultTimeoutMs = 5000;

    CurlHttpRequest();
    ~CurlHttpRequest() override;
    CurlHttpRequest(const CurlHttpRequest&) = delete;
    CurlHttpRequest& operator=(const CurlHttpRequest&) = delete;

    void open(const QString& method, const QString& url) override;
    void setRequestHeader(const QString& name, const QString& value) override;
    // A value of 0 or less keeps that phase's default (resolve: no time of its own).
    void setTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) override;
    bool send(const QByteArray& body = {}) override;

    int status() const override { return m_status; }
    QString responseText() const override;
    QString errorText() const override { return m_errorText; }
    bool timedOut() const override { return m_timedOut; }
    void cancel() override { m_cancelled = true; }

private:
    bool fail(const QString& why);

    void* m_curl = nullptr;
    QByteArray m_method;
    QByteArray m_url;
    QList<QByteArray> m_headers;
    QString m_refusal; // set when open() or a header makes the request unsafe to send

    int m_resolveMs = 0;
    int m_connectMs = kDefaultTimeoutMs;
    int m_sendMs = kDefaultTimeoutMs;
    int m_receiveMs = kDefaultTimeoutMs;

    int m_status = 0;
    QByteArray m_body;
    QByteArray m_contentType;
    QString m_errorText;
    bool m_timedOut = false;
    std::atomic<bool> m_cancelled = false;
};
