#include "agent/AgentProgram.h"

#include "agent/FrmTRAY.h"
#include "agent/Frm_TM_Main.h"
#include "agent/SoundEffectAlert.h"
#include "agentcore/AgentLog.h"
#include "agentcore/AgentPoller.h"
#include "agentcore/AgentSettings.h"
#include "agentcore/AlertTexts.h"
#include "agentcore/CopyLock.h"
#include "agentcore/CurlHttpRequest.h"
#include "agentcore/HandOver.h"
#include "agentcore/Mod_TM.h"
#include "archive/ArchiveUpkeep.h"
#include "core/Mod_Basic.h"
#include "db/Mod_DB.h"
#include "demo/DemoDatabase.h"
#include "ui/FormWidgets.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QSystemTrayIcon>
#include <cstdio>
#include <cstdlib>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

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
    std::unique_ptr<CopyLock> lock;
    std::unique_ptr<HandOver::Server> server;
    std::unique_ptr<AgentLog> log;
    std::unique_ptr<Mod_DB> db;
    std::unique_ptr<CurlHttpRequest> http;
    std::unique_ptr<Mod_TM> tm;
    std::unique_ptr<AgentPoller> poller;
    std::unique_ptr<SoundEffectAlert> sound;
    std::unique_ptr<Frm_TM_Main> popup;
    std::unique_ptr<FrmTRAY> tray;
};

AgentProgram::Places AgentProgram::defaultPlaces(const QString& logFolder)
{
    const QString dir = QCoreApplication::applicationDirPath();
    return {Mod_Basic::iniPath(), machineFolder(), dir + QStringLiteral("/Telemenu.wav"),
            logFolder};
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

QStringList AgentProgram::serverNames() const
{
#ifdef Q_OS_WIN
    // A pipe name is machine-wide already and goes with its process; the folder's hash keeps a
    // test's copies apart.
    const QByteArray folder = QDir(m_places.runFolder).absolutePath().toLower().toUtf8();
    return {QStringLiteral("sweep-agent-") +
            QString::fromLatin1(
                QCryptographicHash::hash(folder, QCryptographicHash::Md5).toHex().left(12))};
#else
    const QDir dir(m_places.runFolder);
    return {dir.filePath(QStringLiteral("sweep-agent.socket")),
            dir.filePath(QStringLiteral("sweep-agent-%1.socket").arg(::getuid()))};
#endif
}

AgentProgram::Start AgentProgram::start()
{
    auto parts = std::make_unique<Parts>();
    QDir().mkpath(m_places.runFolder);
    parts->lock = std::make_unique<CopyLock>(lockFile());
    switch (parts->lock->tryLock()) {
    case CopyLock::Result::Failed:
        m_error = parts->lock->error();
        return Start::Failed;
    case CopyLock::Result::Held:
        return handOver(*parts->lock);
    case CopyLock::Result::Taken:
        break;
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
    p.log = std::make_unique<AgentLog>(m_places.logFolder);
    // Kept as long as the archives are.
    p.log->removeOlderThan(ArchiveUpkeep::keepDays(Mod_Basic::Read_Ini(
        Mod_Basic::localSection(), QStringLiteral("ARCHIVE_DAYS"), m_places.iniPath)));
    p.log->write(AlertTexts::logStarted());
    p.db = std::make_unique<Mod_DB>(target);
    // Not connected here: a server still starting would hold the tray back for the login time.
    // The token client connects on the poll's thread when it first needs the terminal's row.
    p.http = std::make_unique<CurlHttpRequest>();
    p.tm = std::make_unique<Mod_TM>(*p.http, p.db.get());
    p.tm->setSettings(settings); // before the poller: from then on only its thread uses tm
    p.poller = std::make_unique<AgentPoller>(*p.tm);
    p.poller->setLog(p.log.get());
    p.sound = std::make_unique<SoundEffectAlert>();
    p.popup =
        std::make_unique<Frm_TM_Main>(*p.poller, *p.sound, m_places.soundFile,
                                      settings.pollSeconds * 1000, settings.hideSeconds * 1000);
    p.tray = std::make_unique<FrmTRAY>(*p.popup, *p.poller, [this] {
        release(); // the windows go when the program object does, after the event loop
        QCoreApplication::quit();
    });
    p.tray->addTrayIcon();

    // The agent has no window of its own to complain in; say on the console and in its log why
    // it stays quiet. A malformed address fails every poll, which the log and the tooltip tell.
    const QString where =
        QStringLiteral("the %1 section of %2").arg(AgentSettings::section(), m_places.iniPath);
    const PollState::Off off = p.poller->state().off;
    if (off != PollState::Off::No)
        p.log->write(AlertTexts::logNotPolling(off));
    if (off == PollState::Off::Disabled)
        std::fprintf(stderr, "sweep-agent: not polling: PollEnabled is not \"Y\" in %s\n",
                     qPrintable(where));
    else if (off == PollState::Off::NoBaseUrl)
        std::fprintf(stderr, "sweep-agent: not polling: no BaseUrl in %s\n", qPrintable(where));
    else if (!settings.baseUrlWellFormed())
        std::fprintf(stderr, "sweep-agent: BaseUrl \"%s\" in %s is no http or https address\n",
                     qPrintable(settings.baseUrl), qPrintable(where));
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        std::fputs("sweep-agent: no system tray here; end the agent from the process list\n",
                   stderr);
    return Start::Running;
}

AgentProgram::Start AgentProgram::handOver(const CopyLock& lock)
{
    // The holder noted its process and the name it listens on; an older copy noted nothing.
    const QStringList note = lock.readNote().split(QLatin1Char('\n'));
    const QString name = note.value(1).isEmpty() ? serverNames().constFirst() : note.value(1);
    const QString holder = note.value(0).isEmpty()
                               ? QStringLiteral("another copy")
                               : QStringLiteral("another copy (process %1)").arg(note.value(0));
    QString why;
    if (HandOver::askToShow(name, HandOver::kAnswerTimeoutMs, &why))
        return Start::HandedOver;
    m_error = QStringLiteral("%1 holds %2 but %3").arg(holder, lockFile(), why);
    return Start::Failed;
}

void AgentProgram::listen()
{
    m_parts->server = std::make_unique<HandOver::Server>([this] {
        if (!m_parts || !m_parts->popup)
            return false;
        m_parts->popup->showPopup();
        return m_parts->popup->isVisible();
    });
    const QString name = m_parts->server->listen(serverNames());
    if (name.isEmpty())
        std::fprintf(stderr, "sweep-agent: a second start cannot reach this one: %s\n",
                     qPrintable(m_parts->server->error()));
    m_parts->lock->writeNote(
        QStringLiteral("%1\n%2\n").arg(QCoreApplication::applicationPid()).arg(name));
}

void AgentProgram::release()
{
    m_parts->server->close();
    m_parts->lock->unlock();
    if (m_parts->log)
        m_parts->log->write(AlertTexts::logEnded());
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
    parts->server.reset();
    parts->lock->unlock();
    constexpr int kStopWaitMs = 500; // "종료" ends the process within a second
    if (parts->poller && !parts->poller->stop(kStopWaitMs)) {
        // Destroying a running thread, or what it uses, would crash: they are kept (where the
        // leak checker still finds them) until the process ends.
        static auto* leftRunning = new std::vector<std::unique_ptr<Parts>>;
        leftRunning->push_back(std::move(parts));
        m_leftWorkRunning = true;
    }
}

int runAgent(const AgentOptions& options, const AgentProgram::Places& places)
{
    AgentProgram program(options, places);
    switch (program.start()) {
    case AgentProgram::Start::HandedOver:
        return 0;
    case AgentProgram::Start::Failed:
        std::fprintf(stderr, "sweep-agent: %s\n", qPrintable(program.error()));
        return 1;
    case AgentProgram::Start::Running:
        break;
    }
    const int code = QApplication::exec();
    program.end();
    if (program.leftWorkRunning()) {
        // A thread is still inside a database login or a request. Ending without the destructors
        // of static objects is the one way that cannot pull the ground from under it; all of
        // ours that must outlive the process is on disk or let go already (log lines, the lock).
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
