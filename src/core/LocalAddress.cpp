#include "core/LocalAddress.h"

#include <QNetworkInterface>

QString firstLocalIpv4(const QList<InterfaceAddresses>& interfaces)
{
    for (const InterfaceAddresses& nic : interfaces) {
        if (!nic.up || !nic.running || nic.loopback) {
            continue;
        }
        for (const QHostAddress& address : nic.addresses) {
            if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback()) {
                return address.toString();
            }
        }
    }
    return QStringLiteral("127.0.0.1");
}

QString localIpAddress()
{
    QList<InterfaceAddresses> interfaces;
    const auto all = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& nic : all) {
        InterfaceAddresses entry;
        const auto flags = nic.flags();
        entry.up = flags.testFlag(QNetworkInterface::IsUp);
        entry.running = flags.testFlag(QNetworkInterface::IsRunning);
        entry.loopback = flags.testFlag(QNetworkInterface::IsLoopBack);
        const auto entries = nic.addressEntries();
        for (const QNetworkAddressEntry& address : entries) {
            entry.addresses.append(address.ip());
        }
        interfaces.append(entry);
    }
    return firstLocalIpv4(interfaces);
}
