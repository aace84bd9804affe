#include "agent/AgentProgram.h"

#include "agent/FrmTRAY.h"
#include "agent/Frm_TM_Main.h"
#include "agent/SoundEffectAlert.h"
#include "agentcore/AgentPoller.h"
#include "agentcore/AgentSettings.h"
#include "agentcore/CurlHttpRequest.h"
#include "agentcore/Mod_TM.h"
#include "core/Mod_Basic.h"
#include "db/Mod_DB.h"
#include "demo/DemoDatabase.h"
#include "ui/FormWidgets.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QSystemTrayIcon>
#include <cstdio>

AgentOptions AgentOptions::parse(const QStringList& arguments)
{
    AgentOptions options;
    if (arguments.isEmpty())
        return options;
    options.demo = true;
    options.valid = arguments[0] == QLatin1String("--demo") && arguments.size() <= 2;
    options.demoFile = arguments.value(1);
    return options;
}

const char* AgentOptions::usage()
{
    return "usage: sweep-agent [--demo [FILE]]\n";
}

// Everything of a running copy, in the order it is made (and the reverse of its end).
struct AgentProgram::Parts
{
    std::unique_ptr<QLockFile> lock;
    std::unique_ptr<QLocalServer> server;
    std::unique_ptr<Mod_DB> db;
    std::unique_ptr<CurlHttpRequest> http;
    std::unique_ptr<Mod_TM> tm;
    std::unique_ptr<AgentPoller> poller;
    std::unique_ptr<SoundEffectAlert> sound;
    std::unique_ptr<Frm_TM_Main> popup;
    std::unique_ptr<FrmTRAY> tray;
};

AgentProgram::Places AgentProgram::defaultPlaces()
{
    const QString dir = QCoreApplication::applicationDirPath();
    return {Mod_Basic::iniPath(), machineFolder(), dir + QStringLiteral("/Telemenu.wav")};
}

QString AgentProgram::machineFolder()
{
    if (qEnvironmentVariableIsSet("SWEEP_AGENT_RUN_DIR"))
        return qEnvironmentVariable("SWEEP_AGENT_RUN_DIR");
#ifdef Q_OS_WIN
    return qEnvironmentVariable("ProgramData", QStringLiteral("C:/ProgramData")) +
           QStringLiteral("/Sweep");
#else
    return QStringLiteral("/tmp");
#endif
}

AgentProgram::AgentProgram(AgentOptions options, Places places)
    : m_options(std::move(options)), m_places(std::move(places))
{
}

AgentProgram::~AgentProgram()
{
    end();
}

FrmTRAY* AgentProgram::tray() const
{
    return m_parts ? m_parts->tray.get() : nullptr;
}
Frm_TM_Main* AgentProgram::popup() const
{
    return m_parts ? m_parts->popup.get() : nullptr;
}
AgentPoller* AgentProgram::poller() const
{
    return m_parts ? m_parts->poller.get() : nullptr;
}

QString AgentProgram::lockFile() const
{
    return QDir(m_places.runFolder).filePath(QStringLiteral("sweep-agent.lock"));
}

QString AgentProgram::serverName() const
{
#ifdef Q_OS_WIN
    // A pipe name is machine-wide already; the folder's hash keeps a test's copies apart.
    const QByteArray folder = QDir(m_places.runFolder).absolutePath().toLower().toUtf8();
    return QStringLiteral("sweep-agent-") +
           QString::fromLatin1(
               QCryptographicHash::hash(folder, QCryptographicHash::Md5).toHex().left(12));
#else
    return QDir(m_places.runFolder).filePath(QStringLiteral("sweep-agent.socket"));
#endif
}

AgentProgram::Start AgentProgram::start()
{
    auto parts = std::make_unique<Parts>();
    // One agent per computer. The lock holds the owner's process id, so a copy that crashed
    // does not block the next start (stale time 0: age alone never frees it).
    QDir().mkpath(m_places.runFolder);
    parts->lock = std::make_unique<QLockFile>(lockFile());
    parts->lock->setStaleLockTime(0);
    if (!parts->lock->tryLock(0)) {
        if (parts->lock->error() != QLockFile::LockFailedError) {
            m_error = QStringLiteral("cannot take the lock %1").arg(lockFile());
            return Start::Failed;
        }
        if (handOver())
            return Start::HandedOver;
        m_error = QStringLiteral("another copy holds %1 but does not answer on %2")
                      .arg(lockFile(), serverName());
        return Start::Failed;
    }
    m_parts = std::move(parts);
    listen();

    AgentSettings settings = AgentSettings::read(m_places.iniPath);
    DbTarget target = DbTarget::sqlServer(m_places.iniPath);
    if (m_options.demo) {
        const QString file = openOrCreateDemoDatabase(m_options.demoFile, &m_error);
        if (file.isEmpty()) {
            end();
            return Start::Failed;
        }
        target = DbTarget::sqlite(file);
        // The demo's POS table knows one terminal; use it unless IP.ini names another.
        if (settings.rctCode.isEmpty())
            settings.rctCode = QString::fromLatin1(DemoTerminal::rctCode);
        if (settings.posId.isEmpty())
            settings.posId = QString::fromLatin1(DemoTerminal::posId);
    }

    // Hiding the popup must not end the agent; only the tray menu's "종료" does.
    QApplication::setQuitOnLastWindowClosed(false);
    registerKoreanFontFallbacks();
    Parts& p = *m_parts;
    p.db = std::make_unique<Mod_DB>(target);
    // Not connected here: a server still starting would hold the tray back for the login time.
    // The token client connects on the poll's thread when it first needs the terminal's row.
    p.http = std::make_unique<CurlHttpRequest>();
    p.tm = std::make_unique<Mod_TM>(*p.http, p.db.get());
    p.tm->setSettings(settings); // before the poller: from then on only its thread uses tm
    p.poller = std::make_unique<AgentPoller>(*p.tm);
    p.sound = std::make_unique<SoundEffectAlert>();
    p.popup =
        std::make_unique<Frm_TM_Main>(*p.poller, *p.sound, m_places.soundFile,
                                      settings.pollSeconds * 1000, settings.hideSeconds * 1000);
    p.tray = std::make_unique<FrmTRAY>(*p.popup, *p.poller, [this] {
        release(); // the windows go when the program object does, after the event loop
        QCoreApplication::quit();
    });
    p.tray->addTrayIcon();

    // The agent has no window of its own to complain in; say on the console why it stays quiet.
    const QString where =
        QStringLiteral("the %1 section of %2").arg(AgentSettings::section(), m_places.iniPath);
    if (!p.poller->pollEnabled())
        std::fprintf(stderr, "sweep-agent: not polling: PollEnabled is not \"Y\" in %s\n",
                     qPrintable(where));
    else if (settings.baseUrl.isEmpty())
        std::fprintf(stderr, "sweep-agent: not polling: no BaseUrl in %s\n", qPrintable(where));
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        std::fputs("sweep-agent: no system tray here; end the agent from the process list\n",
                   stderr);
    return Start::Running;
}

bool AgentProgram::listen()
{
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::WorldAccessOption); // every user's second start
    QLocalServer::removeServer(serverName()); // left behind by a crashed copy; we hold the lock
    if (!server->listen(serverName())) {
        std::fprintf(stderr, "sweep-agent: a second start cannot reach this one: %s\n",
                     qPrintable(server->errorString()));
        return false;
    }
    // Whoever connects is a second start asking for the popup.
    QObject::connect(server.get(), &QLocalServer::newConnection, server.get(), [this] {
        while (QLocalSocket* socket = m_parts->server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (m_parts->popup)
                m_parts->popup->showPopup();
        }
    });
    m_parts->server = std::move(server);
    return true;
}

bool AgentProgram::handOver() const
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(3000))
        return false;
    socket.write("show\n");
    const bool sent = socket.waitForBytesWritten(3000);
    socket.disconnectFromServer();
    return sent;
}

void AgentProgram::release()
{
    if (m_parts->server)
        m_parts->server->close();
    m_parts->lock->unlock();
}

void AgentProgram::end()
{
    if (!m_parts)
        return;
    // Later parts first: the popup and tray use the poller, the poller the token client.
    std::unique_ptr<Parts> parts = std::move(m_parts);
    parts->tray.reset();
    parts->popup.reset();
    parts->sound.reset();
    parts->poller.reset();
    parts->tm.reset();
    parts->http.reset();
    parts->db.reset();
    parts->server.reset();
    parts->lock->unlock();
}

int runAgent(const AgentOptions& options)
{
    AgentProgram program(options, AgentProgram::defaultPlaces());
    switch (program.start()) {
    case AgentProgram::Start::HandedOver:
        return 0;
    case AgentProgram::Start::Failed:
        std::fprintf(stderr, "sweep-agent: %s\n", qPrintable(program.error()));
        return 1;
    case AgentProgram::Start::Running:
        break;
    }
    return QApplication::exec();
}
