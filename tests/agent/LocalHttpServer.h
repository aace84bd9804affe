#pragma once

#include <QString>
#include <condition_variable>
#include <functional>
#include <httplib.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// What the server saw of one request.
struct SeenRequest
{
    std::string method;
    std::string target; // path and query exactly as sent
    std::string body;
    httplib::Headers headers;

    std::string header(const std::string& name) const;
};

// A real HTTP server on 127.0.0.1 (a free port) for the length of a test. Every request is
// recorded and answered by the current handler; a handler may hang until the test ends.
class LocalHttpServer
{
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    LocalHttpServer();
    ~LocalHttpServer();

    // "http://127.0.0.1:<port>/"
    QString baseUrl() const;
    void setHandler(Handler handler);
    std::vector<SeenRequest> requests() const;
    size_t requestCount() const { return requests().size(); }

    // For handlers: blocks until the server is torn down (at most 30 s), like a service that
    // accepted the connection and never answers.
    void hang();
    bool closing() const;

private:
    void handle(const httplib::Request& request, httplib::Response& response);

    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_closing = false;
    Handler m_handler;
    std::vector<SeenRequest> m_requests;
};
