// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/raw_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace pentaro::testing {

sockaddr_in loopbackAddress(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

int freePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in address = loopbackAddress(0);
  socklen_t length = sizeof address;
  int port = -1;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(fd);
  return port;
}

bool RawClient::connect(int port, int receiveBuffer) {
  close();
  atEnd_ = false;
  pending_.clear();
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return false;
  if (receiveBuffer > 0) {
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  }
  const int on = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  const sockaddr_in address = loopbackAddress(port);
  if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) close();
  return connected();
}

RawClient::~RawClient() { close(); }

bool RawClient::send(std::string_view bytes) {
  while (fd_ >= 0 && !bytes.empty()) {
    const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return fd_ >= 0;
}

bool RawClient::receive(std::chrono::steady_clock::time_point deadline) {
  if (fd_ < 0 || atEnd_) return false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd waiting{fd_, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    char bytes[2048];
    const ssize_t count = ::recv(fd_, bytes, sizeof bytes, 0);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) {
      atEnd_ = true;
      return false;
    }
    pending_.append(bytes, static_cast<std::size_t>(count));
    return true;
  }
}

std::optional<std::string> RawClient::readLine(std::chrono::milliseconds within) {
  const auto deadline = std::chrono::steady_clock::now() + within;
  for (;;) {
    const std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      const bool crlf = end > 0 && pending_[end - 1] == '\r';
      std::string line = pending_.substr(0, crlf ? end - 1 : end + 1);
      pending_.erase(0, end + 1);
      return line;
    }
    if (!receive(deadline)) return std::nullopt;
  }
}

bool RawClient::readToEnd(std::vector<std::string>* lines) {
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  while (!atEnd_) {
    if (!receive(deadline) && !atEnd_) return false;
  }
  while (lines) {
    const std::size_t end = pending_.find("\r\n");
    if (end == std::string::npos) break;
    lines->push_back(pending_.substr(0, end));
    pending_.erase(0, end + 2);
  }
  return true;
}

bool RawClient::seesEndOfStream() {
  if (!pending_.empty()) return false;
  receive(std::chrono::steady_clock::now() + kWait);
  return atEnd_ && pending_.empty();
}

void RawClient::shutdownWrite() {
  if (fd_ >= 0) ::shutdown(fd_, SHUT_WR);
}

void RawClient::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace pentaro::testing
