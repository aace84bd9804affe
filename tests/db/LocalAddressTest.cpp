#include "db/LocalAddress.h"

#include <gtest/gtest.h>

namespace {

InterfaceAddresses nic(bool up, bool running, bool loopback, QStringList addresses)
{
    InterfaceAddresses entry{up, running, loopback, {}};
    for (const QString& a : addresses) {
        entry.addresses.append(QHostAddress(a));
    }
    return entry;
}

struct AddressRow
{
    const char* name;
    QList<InterfaceAddresses> interfaces;
    const char* expected;
};

void PrintTo(const AddressRow& row, std::ostream* os)
{
    *os << row.name;
}

class AddressChoice : public ::testing::TestWithParam<AddressRow>
{
};

} // namespace

TEST_P(AddressChoice, TakesTheFirstUsableIpv4)
{
    EXPECT_EQ(firstLocalIpv4(GetParam().interfaces), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AddressChoice,
    ::testing::Values(
        AddressRow{"none", {}, "127.0.0.1"},
        AddressRow{"loopback_only", {nic(true, true, true, {"127.0.0.1", "::1"})}, "127.0.0.1"},
        AddressRow{"skips_loopback_then_takes_first",
                   {nic(true, true, true, {"127.0.0.1"}),
                    nic(true, true, false, {"192.168.0.21", "192.168.0.22"}),
                    nic(true, true, false, {"10.0.0.5"})},
                   "192.168.0.21"},
        AddressRow{"skips_down_and_not_running",
                   {nic(false, false, false, {"10.1.1.1"}), nic(true, false, false, {"10.1.1.2"}),
                    nic(true, true, false, {"10.1.1.3"})},
                   "10.1.1.3"},
        AddressRow{"ipv6_before_ipv4_on_one_interface",
                   {nic(true, true, false, {"fe80::1", "2001:db8::5", "172.16.4.9"})},
                   "172.16.4.9"},
        AddressRow{"ipv6_only", {nic(true, true, false, {"fe80::1"})}, "127.0.0.1"},
        AddressRow{"loopback_address_on_ordinary_interface",
                   {nic(true, true, false, {"127.0.0.2", "192.168.10.3"})},
                   "192.168.10.3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LocalAddress, SystemAnswerIsAnIpv4Address)
{
    const QHostAddress address(localIpAddress());
    EXPECT_EQ(address.protocol(), QAbstractSocket::IPv4Protocol) << localIpAddress().toStdString();
}
