// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Measures how the lobby copes with two faults: connections closed right after their connect (a
// port scan, a client giving up), 100 one after another, at once and with a 10-ms pause before
// each close; and a flooder that sends 62 730 chat lines in 10 s without reading, under the
// default flood control: how long until the others see it leave, and how many of its lines they
// got meanwhile. Without arguments it runs a LobbyServer of its own; `--port N` measures the host
// already listening on 127.0.0.1:N instead (for instance an older build of pentaro-lobby).
// Run: build/bench/fault_bench [--port N]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "server/lobby_server.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::duration;

constexpr int kConnections = 100;
constexpr std::chrono::milliseconds kPauseBeforeClose{10};
constexpr int kFloodLines = 62730;
constexpr std::chrono::seconds kFloodTime{10};
constexpr int kFloodSlices = 100;
// The observer stops waiting for the flooder's departure after this.
constexpr std::chrono::seconds kFloodWatchLimit{90};

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

int freePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

int connectTo(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = loopback(port);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Connects and closes kConnections times; prints the total and the slowest connect.
void churn(int port, std::chrono::milliseconds pause, const char* what) {
  double slowest = 0;
  int failed = 0;
  const auto start = Clock::now();
  for (int i = 0; i < kConnections; ++i) {
    const auto before = Clock::now();
    const int fd = connectTo(port);
    if (fd < 0) ++failed;
    slowest = std::max(slowest, duration<double>(Clock::now() - before).count());
    if (pause.count() > 0) std::this_thread::sleep_for(pause);
    if (fd >= 0) ::close(fd);
  }
  const double total = duration<double>(Clock::now() - start).count();
  std::printf("%-24s %3d connections: %6.2f s, slowest connect %5.3f s, failed %d\n", what,
              kConnections, total, slowest, failed);
}

// Reads lines from `fd` until one starts with `prefix` or `deadline`; counts those starting
// with `counted`. True when the line came.
bool readUntil(int fd, const std::string& prefix, const std::string& counted, int& count,
               Clock::time_point deadline) {
  std::string buffer;
  char chunk[65536];
  for (;;) {
    std::size_t end;
    while ((end = buffer.find("\r\n")) != std::string::npos) {
      const std::string line = buffer.substr(0, end);
      buffer.erase(0, end + 2);
      if (line.rfind(prefix, 0) == 0) return true;
      if (line.rfind(counted, 0) == 0) ++count;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, static_cast<int>(left.count())) <= 0) continue;
    const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) return false;
    buffer.append(chunk, static_cast<std::size_t>(n));
  }
}

void flood(int port) {
  const int observer = connectTo(port);
  const int flooder = connectTo(port);
  if (observer < 0 || flooder < 0) {
    std::printf("flood: cannot connect\n");
    return;
  }
  const std::string observerName = "NEW_C\twatcher\r\n";
  ::send(observer, observerName.data(), observerName.size(), MSG_NOSIGNAL);
  const std::string flooderName = "NEW_C\tflooder\r\n";
  ::send(flooder, flooderName.data(), flooderName.size(), MSG_NOSIGNAL);
  int ignored = 0;
  readUntil(observer, "ADD\t1\tflooder", "", ignored, Clock::now() + std::chrono::seconds(5));

  const auto start = Clock::now();
  std::thread sender([&] {
    const int perSlice = kFloodLines / kFloodSlices;
    for (int slice = 0; slice < kFloodSlices; ++slice) {
      std::string bytes;
      const int lines = slice + 1 < kFloodSlices ? perSlice : kFloodLines - perSlice * slice;
      for (int i = 0; i < lines; ++i) bytes += "CHAT\tflood\r\n";
      // The flooder never reads: a send that cannot go on ends the flood.
      for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(flooder, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
      }
      std::this_thread::sleep_until(start + std::chrono::milliseconds(kFloodTime) * (slice + 1) /
                                                kFloodSlices);
    }
  });
  int relayed = 0;
  const bool ended = readUntil(observer, "DEL\t1", "CHAT\t1\t", relayed, start + kFloodWatchLimit);
  const double took = duration<double>(Clock::now() - start).count();
  ::shutdown(flooder, SHUT_RDWR);
  sender.join();
  if (ended) {
    std::printf("flood of %d lines in %lld s: flooder gone after %.1f s, %d of its lines relayed\n",
                kFloodLines, static_cast<long long>(kFloodTime.count()), took, relayed);
  } else {
    std::printf(
        "flood of %d lines in %lld s: flooder still there after %.0f s, %d of its lines "
        "relayed (%.0f a second)\n",
        kFloodLines, static_cast<long long>(kFloodTime.count()), took, relayed, relayed / took);
  }
  ::close(flooder);
  ::close(observer);
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<pentaro::LobbyServer> server;
  int port = 0;
  if (argc == 3 && std::strcmp(argv[1], "--port") == 0) {
    port = std::atoi(argv[2]);
  } else {
    server = std::make_unique<pentaro::LobbyServer>();
    port = freePort();
    if (!server->startServer(port) || server->listenError() != 0) {
      std::fprintf(stderr, "fault_bench: cannot listen on %d\n", port);
      return 1;
    }
  }
  churn(port, std::chrono::milliseconds(0), "closed at once");
  std::this_thread::sleep_for(std::chrono::seconds(2));  // every slot free again
  churn(port, kPauseBeforeClose, "closed after 10 ms");
  std::this_thread::sleep_for(std::chrono::seconds(2));
  flood(port);
  if (server) server->stopServer();
  return 0;
}
