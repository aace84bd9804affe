#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <httplib.h>
#include <mutex>
#include <thread>
#include <vector>

// A real HTTP server on 127.0.0.1 (a free port) for the length of a test. It records every
// request (target is path and query exactly as sent) and answers with the current handler, which
// may hang() like a service that accepted the connection and never answers, until the server is
// torn down.
class LocalHttpServer
{
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    LocalHttpServer()
    {
        auto handle = [this](const httplib::Request& q, httplib::Response& r) {
            std::unique_lock lock(m_mutex);
            m_requests.push_back(q);
            const Handler handler = m_handler;
            lock.unlock();
            handler(q, r);
        };
        m_server.Get(".*", handle);
        m_server.Post(".*", handle);
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::yield();
    }
    ~LocalHttpServer()
    {
        m_closing = true;
        m_server.stop();
        m_thread.join();
    }

    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }
    void setHandler(Handler handler)
    {
        std::lock_guard lock(m_mutex);
        m_handler = std::move(handler);
    }
    std::vector<httplib::Request> requests() const
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }
    void hang() const
    {
        while (!m_closing)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::atomic<bool> m_closing = false;
    Handler m_handler;
    std::vector<httplib::Request> m_requests;
};
