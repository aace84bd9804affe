#pragma once

#include <QString>
#include <QStringList>

// What the sweep command line asks for.
struct SweepOptions
{
    enum class Action
    {
        Run,  // open the maintenance window
        Help, // print the usage and end
        Fail, // print error and the usage, end with an error
    };
    Action action = Action::Run;
    bool demo = false;
    QString demoFile; // empty: the default demo database
    QString error;

    // arguments without the program name.
    static SweepOptions parse(const QStringList& arguments);
    static QString usage();
};
