// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/host_addresses.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netinet/in.h>

#include <string>
#include <vector>

namespace pentaro {
namespace {

// One interface entry as getifaddrs lists it; an empty address stands for a null ifa_addr.
struct Entry {
  const char* name;
  unsigned flags;
  int family;
  const char* address;
};

constexpr unsigned kUp = IFF_UP | IFF_RUNNING;

// Builds the linked list that getifaddrs would return for `entries`.
class InterfaceList {
 public:
  explicit InterfaceList(const std::vector<Entry>& entries)
      : nodes_(entries.size()), addresses_(entries.size()) {
    for (size_t i = 0; i < entries.size(); ++i) {
      ifaddrs& node = nodes_[i];
      node.ifa_name = const_cast<char*>(entries[i].name);
      node.ifa_flags = entries[i].flags;
      node.ifa_next = i + 1 < entries.size() ? &nodes_[i + 1] : nullptr;
      if (*entries[i].address == '\0') continue;
      sockaddr_in& address = addresses_[i];
      address.sin_family = static_cast<sa_family_t>(entries[i].family);
      inet_pton(AF_INET, entries[i].address, &address.sin_addr);
      node.ifa_addr = reinterpret_cast<sockaddr*>(&address);
    }
  }
  const ifaddrs* head() const { return nodes_.empty() ? nullptr : nodes_.data(); }

 private:
  std::vector<ifaddrs> nodes_;
  std::vector<sockaddr_in> addresses_;
};

struct Case {
  const char* what;
  std::vector<Entry> entries;
  std::vector<HostAddress> reachable;
};

TEST(NetHostAddresses, ListsWhatOtherMachinesReachAndLeavesOutLoopback) {
  const std::vector<Case> cases = {
      {"no interfaces", {}, {}},
      {"loopback only", {{"lo", kUp | IFF_LOOPBACK, AF_INET, "127.0.0.1"}}, {}},
      {"a LAN address after loopback",
       {{"lo", kUp | IFF_LOOPBACK, AF_INET, "127.0.0.1"}, {"eth0", kUp, AF_INET, "192.168.1.20"}},
       {{"192.168.1.20", "eth0"}}},
      {"127.x on an ordinary interface stays on this machine",
       {{"dummy0", kUp, AF_INET, "127.0.1.1"}, {"wlan0", kUp, AF_INET, "10.0.0.7"}},
       {{"10.0.0.7", "wlan0"}}},
      {"an interface that is down", {{"eth1", IFF_RUNNING, AF_INET, "192.168.2.1"}}, {}},
      {"IPv6 and interfaces without an address",
       {{"eth0", kUp, AF_INET6, "192.168.1.20"}, {"tun0", kUp, AF_INET, ""}},
       {}},
      {"two interfaces in list order, an address once",
       {{"eth0", kUp, AF_INET, "192.168.1.20"},
        {"docker0", kUp, AF_INET, "172.17.0.1"},
        {"eth0", kUp, AF_INET, "192.168.1.20"}},
       {{"192.168.1.20", "eth0"}, {"172.17.0.1", "docker0"}}},
  };
  for (const Case& c : cases) {
    const InterfaceList list(c.entries);
    EXPECT_EQ(reachableAddresses(list.head()), c.reachable) << c.what;
  }
  // This machine's own list never offers loopback either.
  const std::optional<std::vector<HostAddress>> own = hostAddresses();
  ASSERT_TRUE(own.has_value());
  for (const HostAddress& host : *own) {
    EXPECT_NE(host.address.rfind("127.", 0), 0u) << host.address;
    EXPECT_NE(host.interfaceName, "lo");
  }
}

}  // namespace
}  // namespace pentaro
