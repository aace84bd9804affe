#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLocalServer;

// How a second start hands over to the running copy: it asks on a local socket for the popup,
// and the running copy answers once the popup is up. Only that answer counts as a hand-over.
namespace HandOver {

// The running copy's side. show runs for every request and says whether the popup is up.
class Server : public QObject
{
public:
    explicit Server(std::function<bool()> show, QObject* parent = nullptr);
    ~Server() override;

    // Listens on the first of names that can be taken, open to every user of the computer. A
    // socket left by a crashed copy is removed first (the caller holds the lock, so nobody else
    // listens there); one that belongs to another user may not be removable, hence the choice.
    // The name listened on, or empty with error() saying why.
    QString listen(const QStringList& names);
    void close();
    const QString& error() const { return m_error; }

private:
    void answer();

    std::function<bool()> m_show;
    std::unique_ptr<QLocalServer> m_server;
    QString m_error;
};

// The second start's side: asks the copy listening on name to show its popup. True once it
// answered that it did; false after timeoutMs (a hung copy) or when it cannot be reached, with
// error saying which. A copy that is still starting gets the whole time to begin listening.
bool askToShow(const QString& name, int timeoutMs, QString* error);

inline constexpr int kAnswerTimeoutMs = 5000;

} // namespace HandOver
