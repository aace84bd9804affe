#include "LocalHttpServer.h"

#include <chrono>

std::string SeenRequest::header(const std::string& name) const
{
    const auto it = headers.find(name);
    return it == headers.end() ? std::string("<absent>") : it->second;
}

LocalHttpServer::LocalHttpServer()
{
    auto handler = [this](const httplib::Request& q, httplib::Response& r) { handle(q, r); };
    m_server.Get(".*", handler);
    m_server.Post(".*", handler);
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    while (!m_server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LocalHttpServer::~LocalHttpServer()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_released.notify_all();
    m_server.stop();
    m_thread.join();
}

QString LocalHttpServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_port);
}

void LocalHttpServer::setHandler(Handler handler)
{
    std::lock_guard lock(m_mutex);
    m_handler = std::move(handler);
}

std::vector<SeenRequest> LocalHttpServer::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void LocalHttpServer::hang()
{
    std::unique_lock lock(m_mutex);
    m_released.wait_for(lock, std::chrono::seconds(30), [this] { return m_closing; });
}

bool LocalHttpServer::closing() const
{
    std::lock_guard lock(m_mutex);
    return m_closing;
}

void LocalHttpServer::handle(const httplib::Request& request, httplib::Response& response)
{
    Handler handler;
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back({request.method, request.target, request.body, request.headers});
        handler = m_handler;
    }
    if (handler)
        handler(request, response);
    else
        response.status = 404;
}
