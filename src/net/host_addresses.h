// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Where players on other machines reach this one: the IPv4 addresses of the network interfaces
// that are up, without loopback (127.x). Plain functions with no state; any thread may call them.
#ifndef PENTARO_NET_HOST_ADDRESSES_H_
#define PENTARO_NET_HOST_ADDRESSES_H_

#include <ifaddrs.h>

#include <optional>
#include <string>
#include <vector>

namespace pentaro {

struct HostAddress {
  std::string address;        // dotted, "192.168.1.20"
  std::string interfaceName;  // "eth0"

  bool operator==(const HostAddress&) const = default;
};

// The addresses in `interfaces` (a list as getifaddrs returns it) that another machine can reach,
// in list order, each once.
std::vector<HostAddress> reachableAddresses(const ifaddrs* interfaces);

// The same for this machine now: empty when only this machine can join; nullopt when the
// interfaces cannot be read (errno tells why), which says nothing about who can join.
std::optional<std::vector<HostAddress>> hostAddresses();

}  // namespace pentaro

#endif  // PENTARO_NET_HOST_ADDRESSES_H_
