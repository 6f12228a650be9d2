// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/host_addresses.h"

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstdint>

namespace pentaro {
namespace {

// 127.0.0.0/8 stays on this machine whichever interface carries it.
constexpr std::uint32_t kLoopbackNet = 0x7F000000;
constexpr std::uint32_t kLoopbackMask = 0xFF000000;

bool reachable(const ifaddrs& entry) {
  // An interface without an address (a tunnel, or one still being set up) has a null ifa_addr.
  if (entry.ifa_addr == nullptr || entry.ifa_addr->sa_family != AF_INET) return false;
  if ((entry.ifa_flags & IFF_UP) == 0 || (entry.ifa_flags & IFF_LOOPBACK) != 0) return false;
  const auto* address = reinterpret_cast<const sockaddr_in*>(entry.ifa_addr);
  return (ntohl(address->sin_addr.s_addr) & kLoopbackMask) != kLoopbackNet;
}

}  // namespace

std::vector<HostAddress> reachableAddresses(const ifaddrs* interfaces) {
  std::vector<HostAddress> found;
  for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
    if (!reachable(*entry)) continue;
    char text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
    if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) == nullptr) continue;
    HostAddress host{text, entry->ifa_name != nullptr ? entry->ifa_name : ""};
    // One address on two interfaces (or listed twice) is still one place to connect to.
    const bool seen = std::ranges::any_of(
        found, [&host](const HostAddress& known) { return known.address == host.address; });
    if (!seen) found.push_back(std::move(host));
  }
  return found;
}

std::optional<std::vector<HostAddress>> hostAddresses() {
  ifaddrs* interfaces = nullptr;
  if (getifaddrs(&interfaces) != 0) return std::nullopt;
  std::vector<HostAddress> found = reachableAddresses(interfaces);
  freeifaddrs(interfaces);
  return found;
}

}  // namespace pentaro
