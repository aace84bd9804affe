#include "core/LocalAddress.h"

#include <gtest/gtest.h>

static InterfaceAddresses nic(bool up, bool running, bool loopback, const QStringList& addresses)
{
    InterfaceAddresses entry{up, running, loopback, {}};
    for (const QString& a : addresses)
        entry.addresses.append(QHostAddress(a));
    return entry;
}

TEST(LocalAddress, TakesTheFirstIpv4OfAnInterfaceThatIsUpRunningAndNoLoopback)
{
    EXPECT_EQ(firstLocalIpv4({nic(true, true, false, {"fe80::1"})}), "127.0.0.1");
    EXPECT_EQ(firstLocalIpv4({nic(true, true, true, {"127.0.0.1", "10.0.0.9"}),
                              nic(false, true, false, {"10.1.1.1"}),
                              nic(true, false, false, {"10.1.1.2"}),
                              nic(true, true, false, {"fe80::1", "127.0.0.2", "192.168.0.21"}),
                              nic(true, true, false, {"10.0.0.5"})}),
              "192.168.0.21");
}
