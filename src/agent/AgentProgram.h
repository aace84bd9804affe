#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class AgentPoller;
class FrmTRAY;
class Frm_TM_Main;

// The command line of sweep-agent: nothing, or --demo with an optional database file.
struct AgentOptions
{
    bool valid = true;
    bool demo = false;
    QString demoFile; // empty: the default demo database

    static AgentOptions parse(const QStringList& arguments); // without the program's name
    static const char* usage();
};

// The agent from its start to its end, so tests start it without spawning the binary. One copy
// runs per computer: the first takes a lock file and listens on a local socket in the run folder;
// a later one asks the first to show its popup and ends.
class AgentProgram
{
public:
    struct Places
    {
        QString iniPath;   // IP.ini
        QString runFolder; // the lock file and the local socket
        QString soundFile; // the alert sound
    };
    // IP.ini and Telemenu.wav beside the executable; the run folder machineFolder().
    static Places defaultPlaces();
    // Seen by every user of the computer: %ProgramData%\Sweep on Windows, /tmp elsewhere;
    // SWEEP_AGENT_RUN_DIR, when set, instead (for tests).
    static QString machineFolder();

    AgentProgram(AgentOptions options, Places places);
    ~AgentProgram();

    enum class Start
    {
        Running,    // this copy is the agent: the icon is in the tray, the poll timer runs
        HandedOver, // another copy runs and was asked to show its popup
        Failed,     // see error()
    };
    Start start();
    const QString& error() const { return m_error; }

    // Set once start() gave Running.
    FrmTRAY* tray() const;
    Frm_TM_Main* popup() const;
    AgentPoller* poller() const;

    QString lockFile() const;
    QString serverName() const;

private:
    struct Parts;
    bool listen();
    bool handOver() const;
    void release(); // lets a next copy start
    void end();

    AgentOptions m_options;
    Places m_places;
    QString m_error;
    std::unique_ptr<Parts> m_parts;
};

// Starts the agent and runs the event loop until "종료"; the process exit code.
int runAgent(const AgentOptions& options);
