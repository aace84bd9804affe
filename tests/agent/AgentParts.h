#pragma once

#include "agent/AlertSound.h"
#include "agent/FrmTRAY.h"
#include "agent/Frm_TM_Main.h"
#include "agentcore/AgentLog.h"
#include "agentcore/AgentPoller.h"
#include "agentcore/CurlHttpRequest.h"
#include "agentcore/Mod_TM.h"
#include "support/FixtureDatabase.h"
#include "support/ManualClock.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTimer>

// Remembers what would have been played.
struct RecordingSound final : AlertSound
{
    void play(const QString& file) override { played.append(file); }
    QStringList played;
};

// The agent as the program puts it together, on a fixture database, a manual clock (in UTC) and
// short time-outs; the poll timer is left to the test.
struct AgentParts
{
    // Token requests keep the time-outs of the poll before them.
    explicit AgentParts(int timeoutMs = 300)
    {
        tm.setPollTimeoutMs(timeoutMs);
        poller.setLog(&log);
    }
    // Codes that must be encoded in an address.
    void setService(const QString& baseUrl, const QString& pollEnabled = QStringLiteral("Y"))
    {
        poller.setSettings({baseUrl, "C&1", "강남", "01", pollEnabled});
    }
    // One tick of the poll timer and, when it started a poll, its result.
    std::optional<PollResult> tick()
    {
        QSignalSpy spy(&poller, &AgentPoller::polled);
        popup.TimerTELEMENU_Timer();
        if (!poller.busy() || !spy.wait(15000))
            return std::nullopt;
        return spy.at(0).at(0).value<PollResult>();
    }

    FixtureDatabase fixture;
    std::unique_ptr<Mod_DB> db = fixture.connect();
    ManualClock clock{QDateTime(QDate(2026, 12, 6), QTime(0, 30, 15), QTimeZone::utc())};
    QTemporaryDir logFolder;
    AgentLog log{logFolder.path(), clock};
    CurlHttpRequest http;
    Mod_TM tm{http, db.get(), clock};
    AgentPoller poller{tm, clock};
    RecordingSound sound;
    Frm_TM_Main popup{poller, sound, QStringLiteral("Telemenu.wav"), 3600000, 10000};
    FrmTRAY tray{popup, poller, [] {}};
};
