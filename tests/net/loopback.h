// Test helpers for real sockets on 127.0.0.1: a plain POSIX client that the tests drive byte by
// byte, free ephemeral ports, and a thread-safe recorder of callback events with bounded waits.
#ifndef PENTARO_TESTS_NET_LOOPBACK_H_
#define PENTARO_TESTS_NET_LOOPBACK_H_

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pentaro::testing {

// Long enough for a sanitizer build on a busy machine; only reached when something is wrong.
inline constexpr std::chrono::seconds kWait{10};

inline sockaddr_in loopbackAddress(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A port that was free a moment ago: bound to port 0, read back and released.
inline int freePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopbackAddress(0);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

// A client that knows nothing of lines; every read gives up after kWait.
class RawClient {
 public:
  RawClient() = default;
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;
  ~RawClient() { close(); }

  // `receiveBuffer` > 0 shrinks the receive buffer before connecting (a peer that cannot keep up).
  bool connect(int port, int receiveBuffer = 0) {
    close();
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0) {
      ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    }
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    timeval timeout{kWait.count(), 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const sockaddr_in address = loopbackAddress(port);
    return ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  }

  bool send(std::string_view bytes) {
    return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
  }

  // The next CR LF-terminated line, without its terminator; nothing on EOF, error or timeout.
  std::optional<std::string> readLine() {
    for (;;) {
      const auto end = pending_.find("\r\n");
      if (end != std::string::npos) {
        std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 2);
        return line;
      }
      char bytes[512];
      const ssize_t count = ::recv(fd_, bytes, sizeof bytes, 0);
      if (count <= 0) return std::nullopt;
      pending_.append(bytes, static_cast<size_t>(count));
    }
  }

  // True when the peer has closed: nothing more arrives, and EOF comes within kWait.
  bool seesEndOfStream() {
    char byte;
    return pending_.empty() && ::recv(fd_, &byte, 1, 0) == 0;
  }

  void shutdownWrite() { ::shutdown(fd_, SHUT_WR); }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    pending_.clear();
  }

 private:
  int fd_ = -1;
  std::string pending_;
};

// Callback events as text ("closed 3"), recorded from any thread and awaited with a time limit.
class Events {
 public:
  void add(std::string event) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::move(event));
    changed_.notify_all();
  }

  std::vector<std::string> all() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }

  // Waits until `event` has been recorded `times` times in all.
  bool waitFor(const std::string& event, int times = 1) const {
    return waitUntil([&](const std::vector<std::string>& events) {
      int n = 0;
      for (const auto& e : events) n += e == event ? 1 : 0;
      return n >= times;
    });
  }

  bool waitUntil(const std::function<bool(const std::vector<std::string>&)>& done,
                 std::chrono::milliseconds limit = kWait) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return done(events_); });
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::string> events_;  // guarded by mutex_
};

// Runs `action` on a helper thread and tells whether it finished within kWait. The helper is
// waited for either way, so a hang shows as a failed expectation and then the test's timeout.
inline bool finishesInTime(const std::function<void()>& action) {
  auto done = std::async(std::launch::async, action);
  return done.wait_for(kWait) == std::future_status::ready;
}

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_NET_LOOPBACK_H_
