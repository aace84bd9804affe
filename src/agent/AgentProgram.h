#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class AgentPoller;
class CopyLock;
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
// runs per computer: the first takes the lock in the run folder and listens on a local socket; a
// later one asks it to show its popup, and ends once it answered that it did.
class AgentProgram
{
public:
    struct Places
    {
        QString iniPath;   // IP.ini
        QString runFolder; // the lock file and the local socket
        QString soundFile; // the alert sound
        QString logFolder; // the agent's daily log, beside the activity log
    };
    // IP.ini and Telemenu.wav beside the executable, the run folder machineFolder(), the log
    // folder as given.
    static Places defaultPlaces(const QString& logFolder);
    // Seen by every user of the computer: %ProgramData%\Sweep on Windows, /tmp elsewhere;
    // SWEEP_AGENT_RUN_DIR, when set, instead (for tests).
    static QString machineFolder();

    AgentProgram(AgentOptions options, Places places);
    ~AgentProgram();

    enum class Start
    {
        Running,    // this copy is the agent: the icon is in the tray, the poll timer runs
        HandedOver, // another copy runs and answered that it showed its popup
        Failed,     // see error()
    };
    Start start();
    const QString& error() const { return m_error; }

    // Set once start() gave Running.
    FrmTRAY* tray() const;
    Frm_TM_Main* popup() const;
    AgentPoller* poller() const;

    QString lockFile() const;
    // Where a copy listens: the usual name, then one of this user's when a socket left by another
    // user's crashed copy cannot be replaced. The holder notes in the lock file which it took.
    QStringList serverNames() const;

    // Takes the parts down. The poll thread gets a moment to end; one still inside a call that
    // cannot be cut short (a database login) is left running with what it uses, and
    // leftWorkRunning() says so: the process must then end without running the destructors of
    // static objects, which that thread may still use.
    void end();
    bool leftWorkRunning() const { return m_leftWorkRunning; }

private:
    struct Parts;
    Start handOver(const CopyLock& lock);
    void listen();
    void release(); // lets a next copy start

    AgentOptions m_options;
    Places m_places;
    QString m_error;
    std::unique_ptr<Parts> m_parts;
    bool m_leftWorkRunning = false;
};

// Starts the agent and runs the event loop until "종료"; the process exit code.
int runAgent(const AgentOptions& options, const AgentProgram::Places& places);
