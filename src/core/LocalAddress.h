#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

// The computer's own address for log entries: the first non-loopback IPv4 address of an
// interface that is up, "127.0.0.1" when there is none.
QString localIpAddress();

// What the choice needs to know of one network interface, in the system's order.
struct InterfaceAddresses
{
    bool up = false;
    bool running = false;
    bool loopback = false;
    QList<QHostAddress> addresses;
};

// The choice behind localIpAddress(), over a given list of interfaces.
QString firstLocalIpv4(const QList<InterfaceAddresses>& interfaces);
