// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Measures the lobby server's relay on loopback with raw clients whose sockets, like real peers,
// do not set quick ACK: the round trip of a call, the throughput of chat broadcast to ten
// clients, and the time until every other player has a chat line (one line in flight at a
// time), also while one more player has stopped reading and while one sends without pause.
// Run: build/bench/relay_bench
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "server/lobby_server.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRoundTrips = 2000;
constexpr int kBroadcastChats = 20000;
constexpr int kLatencyChats = 3000;
// The player who stops reading has a small receive buffer and sends itself this much at the
// start of the run, more than the kernel buffers on loopback hold, so that it is really stalled
// while the others chat.
constexpr int kStalledReceiveBuffer = 4096;
constexpr size_t kStalledBacklogBytes = 3 << 20;

// A blocking client that reads CR LF lines.
class RawClient {
 public:
  explicit RawClient(int port, int receiveBuffer = 0) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    if (receiveBuffer > 0) {
      ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      std::perror("connect");
    }
    int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  }
  ~RawClient() { ::close(fd_); }

  bool send(const std::string& bytes) {
    return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
  }
  bool sendLine(const std::string& line) { return send(line + "\r\n"); }
  // The next line; empty at the end of the stream. Reads on from an offset, so that a chunk of
  // many lines costs no more than its bytes.
  std::string readLine() {
    for (;;) {
      const auto end = buffer_.find("\r\n", start_);
      if (end != std::string::npos) {
        std::string line = buffer_.substr(start_, end - start_);
        start_ = end + 2;
        return line;
      }
      buffer_.erase(0, start_);
      start_ = 0;
      char chunk[4096];
      const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
      if (n <= 0) return {};
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }
  // Reads until a line starting with `prefix`.
  std::string readUntil(const std::string& prefix) {
    for (;;) {
      std::string line = readLine();
      if (line.empty() || line.rfind(prefix, 0) == 0) return line;
    }
  }
  // Reads what has arrived without waiting; true when the server has closed the connection.
  bool drainSeesEnd() {
    char chunk[65536];
    for (;;) {
      const ssize_t n = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
      if (n == 0) return true;
      if (n < 0) return errno != EAGAIN && errno != EWOULDBLOCK;
    }
  }
  void shutdownBoth() { ::shutdown(fd_, SHUT_RDWR); }

 private:
  int fd_;
  std::string buffer_;
  size_t start_ = 0;  // where the unread bytes of buffer_ begin
};

int freePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

double micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// Flood control off, where the server has it: the benchmark sends as fast as it can.
template <typename Server>
void turnFloodControlOff(Server& server) {
  if constexpr (requires { server.setFloodLimit(0); }) server.setFloodLimit(0);
}

// A server on a free port with `players` raw clients, the last `stalled` of them with a tiny
// receive buffer (they never read after their welcome).
struct Lobby {
  Lobby(int players, int stalled, bool floodControl) {
    if (!floodControl) turnFloodControlOff(server);
    const int port = freePort();
    if (!server.startServer(port) || server.listenError() != 0) {
      std::fprintf(stderr, "cannot listen\n");
      std::exit(1);
    }
    for (int i = 0; i < players; ++i) {
      const bool stalls = i >= players - stalled;
      clients.push_back(std::make_unique<RawClient>(port, stalls ? kStalledReceiveBuffer : 0));
      clients.back()->readUntil("MSG");  // ID, then the greeting
    }
  }
  ~Lobby() {
    clients.clear();
    server.stopServer();
  }
  pentaro::LobbyServer server;
  std::vector<std::unique_ptr<RawClient>> clients;
};

struct Percentiles {
  double p50, p99, max;
};

Percentiles percentiles(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return {samples[samples.size() / 2], samples[samples.size() * 99 / 100], samples.back()};
}

void roundTrip() {
  Lobby lobby(2, 0, false);
  std::vector<double> samples;
  for (int i = 0; i < kRoundTrips; ++i) {
    const auto start = Clock::now();
    lobby.clients[0]->sendLine("PLOT\t1\t7");
    lobby.clients[1]->readUntil("PLOT");
    lobby.clients[1]->sendLine("PLOT\t0\t8");
    lobby.clients[0]->readUntil("PLOT");
    samples.push_back(micros(Clock::now() - start));
  }
  const Percentiles p = percentiles(samples);
  std::printf("call round trip through the server (%d runs): p50 %.1f us, p99 %.1f us\n",
              kRoundTrips, p.p50, p.p99);
}

// Every client sends in turn without waiting; every client reads on its own thread.
void broadcastThroughput() {
  Lobby lobby(pentaro::LobbyServer::kSlots, 0, false);
  const int players = static_cast<int>(lobby.clients.size());
  const auto start = Clock::now();
  std::vector<std::thread> readers;
  for (auto& client : lobby.clients) {
    readers.emplace_back([&client] {
      for (int i = 0; i < kBroadcastChats; ++i) client->readUntil("CHAT");
    });
  }
  for (int i = 0; i < kBroadcastChats; ++i) lobby.clients[i % players]->sendLine("CHAT\thello");
  for (auto& reader : readers) reader.join();
  const double seconds = micros(Clock::now() - start) / 1e6;
  std::printf("chat broadcast: %d lines to %d clients in %.3f s: %.0f deliveries/s\n",
              kBroadcastChats, players, seconds, kBroadcastChats * players / seconds);
}

// One chat line in flight at a time, from the reading players in turn; the sample is the time
// until every other reading player has it.
void chatLatency(const char* title, int readers, int stalled, bool flooder, bool floodControl) {
  Lobby lobby(readers + stalled + (flooder ? 1 : 0), stalled, floodControl);
  std::atomic<bool> flooding{flooder};
  std::vector<std::thread> floodThreads;
  if (flooder) {
    // The flooding player sends short messages to itself as fast as it can and reads them back.
    RawClient& client = *lobby.clients.back();
    const std::string self = std::to_string(readers);
    floodThreads.emplace_back([&client, &flooding, self] {
      std::string burst;
      for (int i = 0; i < 100; ++i) burst += "MSG\t" + self + "\tflood\r\n";
      while (flooding && client.send(burst)) {
      }
    });
    floodThreads.emplace_back([&client] {
      while (!client.readLine().empty()) {
      }
    });
  }
  for (int s = 0; s < stalled; ++s) {
    RawClient& client = *lobby.clients[static_cast<size_t>(readers + s)];
    const std::string self = std::to_string(readers + s);
    floodThreads.emplace_back([&client, self] {
      std::string burst;
      for (int i = 0; i < 100; ++i) burst += "MSG\t" + self + "\t" + std::string(100, 'm') + "\r\n";
      for (size_t sent = 0; sent < kStalledBacklogBytes && client.send(burst);
           sent += burst.size()) {
      }
    });
  }
  std::vector<double> samples;
  for (int i = 0; i < kLatencyChats; ++i) {
    RawClient& sender = *lobby.clients[static_cast<size_t>(i % readers)];
    const auto start = Clock::now();
    sender.sendLine("CHAT\t" + std::to_string(i));
    for (int r = 0; r < readers; ++r) {
      if (r != i % readers) lobby.clients[static_cast<size_t>(r)]->readUntil("CHAT");
    }
    samples.push_back(micros(Clock::now() - start));
    sender.readUntil("CHAT");  // its own copy
  }
  bool stalledLeft = false;
  for (int s = 0; s < stalled; ++s) {
    stalledLeft = lobby.clients[static_cast<size_t>(readers + s)]->drainSeesEnd() || stalledLeft;
  }
  flooding = false;
  if (flooder || stalled > 0) lobby.clients.back()->shutdownBoth();
  for (auto& thread : floodThreads) thread.join();
  const Percentiles p = percentiles(samples);
  std::printf("%s: p50 %.1f us, p99 %.1f us, max %.1f us%s\n", title, p.p50, p.p99, p.max,
              stalled > 0 ? (stalledLeft ? " (the stalled player was disconnected)"
                                         : " (the stalled player stayed connected)")
                          : "");
}

}  // namespace

int main() {
  roundTrip();
  broadcastThroughput();
  std::printf("time until all other players have a chat line (%d lines, one at a time):\n",
              kLatencyChats);
  chatLatency("  10 players", 10, 0, false, false);
  chatLatency("  9 players and 1 who stopped reading", 9, 1, false, false);
  chatLatency("  9 players and 1 sending without pause, flood control off", 9, 0, true, false);
  chatLatency("  9 players and 1 sending without pause, flood control on", 9, 0, true, true);
  return 0;
}
