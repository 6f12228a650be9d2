// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A peer made of a plain POSIX socket on 127.0.0.1, shared by the network and server tests: the
// tests write the bytes it sends and read back, byte for byte, every line it receives. Every wait
// is bounded by kWait. Also the free loopback port the tests listen on. One test thread each.
#ifndef PENTARO_TESTS_SUPPORT_RAW_CLIENT_H_
#define PENTARO_TESTS_SUPPORT_RAW_CLIENT_H_

#include <netinet/in.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pentaro::testing {

// Long enough for a sanitizer build on a busy machine; only ever reached when something is wrong.
inline constexpr std::chrono::seconds kWait{10};

// A loopback port that was free a moment ago: bound to port 0, read back, released.
int freePort();
// 127.0.0.1:port.
sockaddr_in loopbackAddress(int port);

class RawClient {
 public:
  RawClient() = default;
  // Connects at once; connected() tells whether that worked.
  explicit RawClient(int port, int receiveBuffer = 0) { connect(port, receiveBuffer); }
  ~RawClient();
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  // Connects to 127.0.0.1:port, closing any earlier connection. `receiveBuffer` > 0 shrinks the
  // receive buffer first (a peer that cannot keep up).
  bool connect(int port, int receiveBuffer = 0);
  bool connected() const { return fd_ >= 0; }

  // Sends the bytes as they are.
  bool send(std::string_view bytes);
  // Sends `line` and CR LF.
  bool sendLine(std::string_view line) { return send(std::string(line) + "\r\n"); }

  // The next line without its CR LF. A line ended by a bare LF comes back with that LF, so that
  // it compares unequal to any expected line. Nothing on end of stream or after `within`.
  std::optional<std::string> readLine(std::chrono::milliseconds within = kWait);
  // Reads until the peer closes the connection, collecting the lines on the way; false when the
  // connection is still open after kWait.
  bool readToEnd(std::vector<std::string>* lines = nullptr);
  // The peer closed the connection (seen by a read).
  bool atEnd() const { return atEnd_; }
  // Nothing more arrives: the peer's close comes within kWait, no byte before it.
  bool seesEndOfStream();
  // Bytes received after the last complete line.
  const std::string& pending() const { return pending_; }

  void shutdownWrite();
  void close();

 private:
  // Receives more bytes until `deadline`; false on end of stream, error or timeout.
  bool receive(std::chrono::steady_clock::time_point deadline);

  int fd_ = -1;
  bool atEnd_ = false;
  std::string pending_;
};

}  // namespace pentaro::testing

#endif  // PENTARO_TESTS_SUPPORT_RAW_CLIENT_H_
