// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/tcp_connection.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace pentaro {

TcpConnection::TcpConnection(Handler& handler)
    : cancelFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), handler_(handler) {}

TcpConnection::~TcpConnection() {
  stop();
  if (cancelFd_ >= 0) ::close(cancelFd_);
}

bool TcpConnection::open(const std::string& host, int port) {
  MutexLock control(controlMutex_);
  if (running()) {
    // A worker past its last callback only has to return: waited for, not refused (a host that
    // stops and starts again at once joins its own lobby again).
    if (!finished_.load()) return false;
    worker_.waitUntilEnded();
  }
  finished_ = false;
  address_ = resolveHost(host);
  port_ = port;
  clearCancel();
  // No worker runs: a descriptor left by a failed connect can go, and a fresh one replaces it.
  socket_.close();
  if (!socket_.makeSocket()) return false;
  return worker_.start([this] { run(); });
}

void TcpConnection::disconnect() {
  MutexLock control(controlMutex_);
  // The cancel first: a connect that completes now still sees it before it counts as connected.
  if (cancelFd_ >= 0) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(cancelFd_, &one, sizeof one);
  }
  socket_.shutdown();
  if (!worker_.running()) socket_.close();
}

bool TcpConnection::sendLine(std::string_view text) { return socket_.writeLine(text); }

void TcpConnection::stop() {
  disconnect();
  if (worker_.isWorkerThread()) return;
  worker_.join();
  socket_.close();
}

void TcpConnection::run() {
  if (!socket_.connectTo(address_, port_, cancelFd_)) {
    // A connect given up (refused, timed out or cancelled) is closed at once: the kernel would
    // otherwise go on trying and join a lobby that appears later, unasked and nameless.
    socket_.close();
    if (!cancelled()) handler_.onConnectFailed();
    finished_ = true;
    return;
  }
  handler_.onConnected();
  char line[kLineLimit + 1];
  bool inLongLine = false;
  for (;;) {
    const StreamSocket::ReadResult result = socket_.readLine(line, kLineLimit);
    if (result == StreamSocket::kNoLine) break;
    if (result == StreamSocket::kLimitLine) {
      inLongLine = true;  // dropped, and so is the rest of it
      continue;
    }
    if (inLongLine) {
      inLongLine = false;  // the tail of a dropped line
      continue;
    }
    handler_.onLineReceived(line);
  }
  socket_.close();
  handler_.onClosed();
  finished_ = true;
}

void TcpConnection::clearCancel() {
  if (cancelFd_ < 0) return;
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t read = ::read(cancelFd_, &count, sizeof count);
}

bool TcpConnection::cancelled() const {
  if (cancelFd_ < 0) return false;
  pollfd entry{cancelFd_, POLLIN, 0};
  return ::poll(&entry, 1, 0) > 0;
}

}  // namespace pentaro
