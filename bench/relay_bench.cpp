// Measures the lobby server's relay: the round trip of a call ("PLOT") from one raw client to
// its opponent and back, and the throughput of chat broadcast to ten clients, on loopback.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "server/lobby_server.h"

namespace {

using Clock = std::chrono::steady_clock;

// A blocking client that reads CR LF lines.
class RawClient {
 public:
  explicit RawClient(int port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
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

  void send(const std::string& line) {
    const std::string bytes = line + "\r\n";
    ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  }
  std::string readLine() {
    for (;;) {
      const auto end = buffer_.find("\r\n");
      if (end != std::string::npos) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 2);
        return line;
      }
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

 private:
  int fd_;
  std::string buffer_;
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

}  // namespace

int main() {
  pentaro::LobbyServer server;
  const int port = freePort();
  if (!server.startServer(port) || server.listenError() != 0) {
    std::fprintf(stderr, "cannot listen\n");
    return 1;
  }

  std::vector<std::unique_ptr<RawClient>> clients;
  for (int i = 0; i < pentaro::LobbyServer::kSlots; ++i) {
    clients.push_back(std::make_unique<RawClient>(port));
    clients.back()->readUntil("MSG");  // ID, then the greeting
  }

  // Round trips of a call between players 0 and 1.
  constexpr int kRoundTrips = 2000;
  std::vector<double> samples;
  for (int i = 0; i < kRoundTrips; ++i) {
    const auto start = Clock::now();
    clients[0]->send("PLOT\t1\t7");
    clients[1]->readUntil("PLOT");
    clients[1]->send("PLOT\t0\t8");
    clients[0]->readUntil("PLOT");
    samples.push_back(micros(Clock::now() - start));
  }
  std::sort(samples.begin(), samples.end());
  std::printf("call round trip through the server (%d runs): median %.1f us, p99 %.1f us\n",
              kRoundTrips, samples[samples.size() / 2], samples[samples.size() * 99 / 100]);

  // Chat broadcast: every line reaches all ten clients.
  constexpr int kChats = 5000;
  const auto start = Clock::now();
  for (int i = 0; i < kChats; ++i) clients[i % 10]->send("CHAT\thello");
  for (auto& client : clients) {
    for (int i = 0; i < kChats; ++i) client->readUntil("CHAT");
  }
  const double seconds = micros(Clock::now() - start) / 1e6;
  std::printf("chat broadcast: %d lines to 10 clients in %.3f s (%.0f delivered lines/s)\n", kChats,
              seconds, kChats * 10 / seconds);

  clients.clear();
  server.stopServer();
  return 0;
}
