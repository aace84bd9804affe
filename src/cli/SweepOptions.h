#pragma once

#include <QString>
#include <QStringList>

// What the sweep command line asks for: the window, or one operation without a window.
struct SweepOptions
{
    enum class Action
    {
        Run,     // open the maintenance window
        Command, // run one command and end
        Help,    // print the usage and end
        Fail,    // print the error and a pointer to the usage, end with an error
    };
    enum class Command
    {
        None,
        List,
        Delete,
        Optimise,
        Restore,
        Status,
    };
    enum class Area
    {
        None,
        OpenChecks,
        PaymentCancel,
        Deliveries,
    };
    enum class Format
    {
        Table,
        Csv,
        Json,
    };

    Action action = Action::Run;
    bool demo = false;
    QString demoFile; // empty: the default demo database
    Command command = Command::None;
    Area area = Area::None;
    QString from; // deliveries: a date range, both or neither, as yyyy-mm-dd
    QString to;
    QString check;    // open checks: only this check
    bool yes = false; // delete and optimise act only with it
    Format format = Format::Table;
    QString restoreFile;
    bool otherDatabase = false; // restore: into a database other than the file's, on purpose
    QString error;

    // arguments without the program name.
    static SweepOptions parse(const QStringList& arguments);
    // The word after --demo is its file only when it cannot be a command: a path, with a folder
    // separator or a dot in it.
    static bool isDemoFile(const QString& word);
};
