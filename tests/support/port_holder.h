// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Stands for another program that holds a TCP port: a socket listening on every local address,
// closed when the holder goes.
#ifndef PENTARO_TESTS_SUPPORT_PORT_HOLDER_H_
#define PENTARO_TESTS_SUPPORT_PORT_HOLDER_H_

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace pentaro::testing {

class PortHolder {
 public:
  // Holds `port`, or a free port when it is 0.
  explicit PortHolder(int port = 0) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<uint16_t>(port));
    socklen_t length = sizeof address;
    holding_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
               ::listen(fd_, 1) == 0 &&
               ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    port_ = ntohs(address.sin_port);
  }
  ~PortHolder() { ::close(fd_); }
  PortHolder(const PortHolder&) = delete;
  PortHolder& operator=(const PortHolder&) = delete;

  bool holding() const { return holding_; }
  int port() const { return port_; }

 private:
  int fd_;
  bool holding_ = false;
  int port_ = 0;
};

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_SUPPORT_PORT_HOLDER_H_
