#pragma once

#include <QString>

// The computer's own address for log entries: the first non-loopback IPv4 address of an
// interface that is up, "127.0.0.1" when there is none.
QString localIpAddress();
