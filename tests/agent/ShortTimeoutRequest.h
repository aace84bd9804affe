#pragma once

#include "agent/HttpRequest.h"

// Passes everything to the real request but replaces every time-out it is given with a short
// one, so a test of a silent server ends in a fraction of a second instead of 5.
class ShortTimeoutRequest final : public HttpRequest
{
public:
    ShortTimeoutRequest(HttpRequest& inner, int timeoutMs) : m_inner(inner), m_timeoutMs(timeoutMs)
    {
        m_inner.setTimeouts(m_timeoutMs, m_timeoutMs, m_timeoutMs, m_timeoutMs);
    }

    void open(const QString& method, const QString& url) override { m_inner.open(method, url); }
    void setRequestHeader(const QString& name, const QString& value) override
    {
        m_inner.setRequestHeader(name, value);
    }
    void setTimeouts(int, int, int, int) override
    {
        m_inner.setTimeouts(m_timeoutMs, m_timeoutMs, m_timeoutMs, m_timeoutMs);
    }
    bool send(const QByteArray& body = {}) override { return m_inner.send(body); }
    int status() const override { return m_inner.status(); }
    QString responseText() const override { return m_inner.responseText(); }
    QString errorText() const override { return m_inner.errorText(); }

private:
    HttpRequest& m_inner;
    int m_timeoutMs;
};
