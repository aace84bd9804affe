#pragma once

#include <QString>

// The agent's own section of IP.ini. Nothing in the program writes these; the technician who
// sets up a terminal for the ordering service does.
struct AgentSettings
{
    static constexpr int kDefaultPollSeconds = 30;
    static constexpr int kDefaultHideSeconds = 10;

    QString baseUrl; // service address, always ending in "/" once read
    QString comId;
    QString rctCode;
    QString posId;
    QString pollEnabled; // the poll runs only while this is exactly "Y"
    int pollSeconds = kDefaultPollSeconds;
    int hideSeconds = kDefaultHideSeconds;

    static QString section(); // "TELEMENU"

    // An http or https address with a host, to which endpoint paths can be appended.
    bool baseUrlWellFormed() const;

    // Reads the section; blank or unusable intervals fall back to the defaults.
    static AgentSettings read(const QString& iniPath);
};
