#include "agentcore/HandOver.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace HandOver {

namespace {
const QByteArray kRequest = "show\n";
const QByteArray kShown = "shown\n";
const QByteArray kNotShown = "not shown\n";
constexpr qint64 kLongestLine = 64;
} // namespace

Server::Server(std::function<bool()> show, QObject* parent)
    : QObject(parent), m_show(std::move(show))
{
}

Server::~Server() = default;

QString Server::listen(const QStringList& names)
{
    close();
    QStringList failures;
    for (const QString& name : names) {
        auto server = std::make_unique<QLocalServer>();
        server->setSocketOptions(QLocalServer::WorldAccessOption);
        QLocalServer::removeServer(name);
        if (server->listen(name)) {
            connect(server.get(), &QLocalServer::newConnection, this, &Server::answer);
            m_server = std::move(server);
            return name;
        }
        failures << name + QStringLiteral(": ") + server->errorString();
    }
    m_error = failures.join(QStringLiteral("; "));
    return {};
}

void Server::close()
{
    m_server.reset(); // its end removes the socket file, so no later start waits on it
}

void Server::answer()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kLongestLine)
                    socket->abort();
                return;
            }
            const bool asked = socket->readLine(kLongestLine + 1) == kRequest;
            socket->write(asked && m_show() ? kShown : kNotShown);
            socket->disconnectFromServer(); // after the answer is written
        });
    }
}

bool askToShow(const QString& name, int timeoutMs, QString* error)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    for (;;) {
        socket.connectToServer(name);
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (deadline.hasExpired())
            return fail(
                QStringLiteral("cannot reach it on %1: %2").arg(name, socket.errorString()));
        QThread::msleep(50); // it may be between taking the lock and listening
    }
    socket.write(kRequest);
    socket.flush();
    QByteArray answer;
    while (!answer.endsWith('\n') && answer.size() <= kLongestLine) {
        if (!socket.bytesAvailable() && !socket.waitForReadyRead(int(deadline.remainingTime())))
            return fail(socket.state() == QLocalSocket::ConnectedState
                            ? QStringLiteral("it did not answer within %1 ms on %2")
                                  .arg(timeoutMs)
                                  .arg(name)
                            : QStringLiteral("it hung up on %1 without answering").arg(name));
        answer += socket.read(kLongestLine + 1 - answer.size());
    }
    if (answer != kShown)
        return fail(QStringLiteral("it could not show its popup"));
    return true;
}

} // namespace HandOver
