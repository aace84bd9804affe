#pragma once

#include <QByteArray>
#include <QString>

// The agent's one HTTP request object: open, set headers, send and wait, read the answer.
// Every request is synchronous; send() returns when the answer is complete or a time-out struck.
// One thread at a time uses an object (the agent's poll thread); only cancel() may come from
// another.
class HttpRequest
{
public:
    virtual ~HttpRequest() = default;

    // Starts a new request; headers of the previous one are dropped, time-outs are kept.
    virtual void open(const QString& method, const QString& url) = 0;
    virtual void setRequestHeader(const QString& name, const QString& value) = 0;
    // Milliseconds for name resolution, connection, sending and receiving. They stay in force
    // for every later request of this object.
    virtual void setTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) = 0;
    // False when no answer arrived (transport failure, time-out, refused request); status() is
    // then 0 and errorText() says why.
    virtual bool send(const QByteArray& body = {}) = 0;

    virtual int status() const = 0;
    virtual QString responseText() const = 0;
    virtual QString errorText() const = 0;
    // The last send() failed because a time-out struck (not a refused connection, say).
    virtual bool timedOut() const = 0;

    // The one operation that may be called from any thread: a send() under way ends soon as a
    // failure, and every later one fails at once. For a program that ends while a request hangs.
    virtual void cancel() {}
};
