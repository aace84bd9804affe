#include "agent/AgentSettings.h"
#include "agent/CurlHttpRequest.h"
#include "agent/FrmTRAY.h"
#include "agent/Frm_TM_Main.h"
#include "agent/Mod_TM.h"
#include "agent/SoundEffectAlert.h"
#include "db/DemoDatabase.h"
#include "db/Mod_Basic.h"
#include "db/Mod_DB.h"
#include "maintenance/FormControls.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QSystemTrayIcon>
#include <cstdio>

namespace {

const char kUsage[] = "usage: sweep-agent [--demo [FILE]]\n";

} // namespace

int main(int argc, char** argv)
{
    // Checked before the application starts, so a wrong call is told even without a display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const bool demo = !arguments.isEmpty();
    if (demo && (arguments[0] != QLatin1String("--demo") || arguments.size() > 2)) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    QApplication app(argc, argv);
    // Hiding the popup must not end the agent; only the tray menu's "종료" does.
    QApplication::setQuitOnLastWindowClosed(false);

    // One agent per computer. The lock holds the owner's process id, so a copy that crashed
    // does not block the next start (stale time 0: age alone never frees it).
    QLockFile lock(QDir(QDir::tempPath()).filePath(QStringLiteral("sweep-agent.lock")));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0))
        return 0;

    const QString iniPath = Mod_Basic::iniPath();
    DbTarget target = DbTarget::sqlServer(iniPath);
    AgentSettings settings = AgentSettings::read(iniPath);
    if (demo) {
        QString error;
        const QString file =
            openOrCreateDemoDatabase(arguments.size() == 2 ? arguments[1] : QString(), &error);
        if (file.isEmpty()) {
            std::fprintf(stderr, "sweep-agent: %s\n", qPrintable(error));
            return 1;
        }
        target = DbTarget::sqlite(file);
        // The demo's POS table knows one terminal; use it unless IP.ini names another.
        if (settings.rctCode.isEmpty())
            settings.rctCode = QString::fromLatin1(DemoTerminal::rctCode);
        if (settings.posId.isEmpty())
            settings.posId = QString::fromLatin1(DemoTerminal::posId);
    }

    registerKoreanFontFallbacks();
    Mod_DB db(target);
    db.DB_Connect(); // not announced; the token client connects again when it needs the row

    CurlHttpRequest http;
    Mod_TM tm(http, &db);
    tm.setSettings(settings);
    SoundEffectAlert sound;
    Frm_TM_Main popup(tm, sound,
                      QApplication::applicationDirPath() + QStringLiteral("/Telemenu.wav"),
                      settings.pollSeconds * 1000, settings.hideSeconds * 1000);
    FrmTRAY tray(popup, [] { QApplication::quit(); });
    tray.addTrayIcon();

    // The agent has no window of its own to complain in; say on the console why it stays quiet.
    const QString where =
        QStringLiteral("the %1 section of %2").arg(AgentSettings::section(), iniPath);
    if (!tm.pollEnabled())
        std::fprintf(stderr, "sweep-agent: not polling: PollEnabled is not \"Y\" in %s\n",
                     qPrintable(where));
    else if (settings.baseUrl.isEmpty())
        std::fprintf(stderr, "sweep-agent: not polling: no BaseUrl in %s\n", qPrintable(where));
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        std::fputs("sweep-agent: no system tray here; end the agent from the process list\n",
                   stderr);
    return app.exec();
}
