// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A bad link in user space, for the bad-network test where the kernel has no netem: two TUN
// devices, and every IP packet that comes out of one goes into the other after a delay, unless it
// is lost; some packets skip the delay and so overtake the ones sent before them.
//
// Usage: lossy_link [--delay-ms N] [--loss PERCENT] [--reorder PERCENT] [--seed S] TUN_A TUN_B
// It makes both devices in the current network namespace and prints "ready"; the caller then
// moves one of them to another namespace and gives both their addresses. SIGUSR1 cuts the link
// silently: from then on every packet is lost, as when a peer's laptop sleeps. SIGTERM ends it,
// with a line of how many packets went through, overtook others, or were lost.

#include <fcntl.h>
#include <linux/if_tun.h>
#include <net/if.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

volatile sig_atomic_t stopRequested = 0;
volatile sig_atomic_t cut = 0;

struct Options {
  std::chrono::milliseconds delay{100};
  double lossPercent = 0;
  double reorderPercent = 0;
  unsigned seed = 1;
  const char* devices[2] = {nullptr, nullptr};
};

int openTun(const char* name) {
  const int fd = ::open("/dev/net/tun", O_RDWR | O_CLOEXEC);
  if (fd < 0) return -1;
  ifreq request{};
  request.ifr_flags = IFF_TUN | IFF_NO_PI;  // bare IP packets, no header of the driver's
  std::strncpy(request.ifr_name, name, IFNAMSIZ - 1);
  if (::ioctl(fd, TUNSETIFF, &request) < 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool parse(int argc, char** argv, Options* options) {
  int device = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--delay-ms" && hasValue) {
      options->delay = std::chrono::milliseconds(std::atoi(argv[++i]));
    } else if (arg == "--loss" && hasValue) {
      options->lossPercent = std::atof(argv[++i]);
    } else if (arg == "--reorder" && hasValue) {
      options->reorderPercent = std::atof(argv[++i]);
    } else if (arg == "--seed" && hasValue) {
      options->seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (device < 2 && !arg.starts_with("--")) {
      options->devices[device++] = argv[i];
    } else {
      return false;
    }
  }
  return device == 2;
}

struct Packet {
  int to;  // the descriptor of the device it goes into
  std::vector<char> bytes;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, &options)) {
    std::fprintf(stderr,
                 "usage: lossy_link [--delay-ms N] [--loss PERCENT] [--reorder PERCENT] "
                 "[--seed S] TUN_A TUN_B\n");
    return 2;
  }
  const int fds[2] = {openTun(options.devices[0]), openTun(options.devices[1])};
  if (fds[0] < 0 || fds[1] < 0) {
    std::perror("lossy_link: /dev/net/tun");
    return 1;
  }
  struct sigaction onTerm {};
  onTerm.sa_handler = [](int) { stopRequested = 1; };
  ::sigaction(SIGTERM, &onTerm, nullptr);  // no SA_RESTART: the poll returns at once
  struct sigaction onUsr1 {};
  onUsr1.sa_handler = [](int) { cut = 1; };
  ::sigaction(SIGUSR1, &onUsr1, nullptr);
  std::printf("ready\n");
  std::fflush(stdout);

  std::mt19937 random(options.seed);
  std::uniform_real_distribution<double> percent(0, 100);
  // Due time → packet; packets due at the same time keep their order.
  std::multimap<Clock::time_point, Packet> inFlight;
  long forwarded = 0;
  long overtook = 0;
  long lost = 0;
  std::vector<char> buffer(65536);
  while (stopRequested == 0) {
    int timeoutMs = -1;
    if (!inFlight.empty()) {
      const auto wait = inFlight.begin()->first - Clock::now();
      timeoutMs = static_cast<int>(
          std::max<long>(0, std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
    }
    pollfd polled[2] = {{fds[0], POLLIN, 0}, {fds[1], POLLIN, 0}};
    if (::poll(polled, 2, timeoutMs) < 0) continue;  // EINTR
    const Clock::time_point now = Clock::now();
    for (int side = 0; side < 2; ++side) {
      if ((polled[side].revents & POLLIN) == 0) continue;
      const ssize_t n = ::read(fds[side], buffer.data(), buffer.size());
      if (n <= 0) continue;
      if (cut != 0 || percent(random) < options.lossPercent) {
        ++lost;
        continue;
      }
      const bool overtakes = percent(random) < options.reorderPercent;
      overtook += overtakes ? 1 : 0;
      inFlight.emplace(overtakes ? now : now + options.delay,
                       Packet{fds[1 - side], std::vector<char>(buffer.data(), buffer.data() + n)});
    }
    while (!inFlight.empty() && inFlight.begin()->first <= Clock::now()) {
      const Packet& packet = inFlight.begin()->second;
      // A device that is down refuses the packet: it is lost like any other.
      if (::write(packet.to, packet.bytes.data(), packet.bytes.size()) > 0) ++forwarded;
      inFlight.erase(inFlight.begin());
    }
  }
  std::printf("packets forwarded %ld, of which overtook %ld; lost %ld\n", forwarded, overtook,
              lost);
  return 0;
}
