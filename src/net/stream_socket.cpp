// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/stream_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace pentaro {

namespace {

constexpr int kMaxPort = 65535;

sockaddr_in ipv4Address(std::uint32_t address, int port) {
  sockaddr_in result{};
  result.sin_family = AF_INET;
  result.sin_port = htons(static_cast<std::uint16_t>(port));
  result.sin_addr.s_addr = address;
  return result;
}

void setIntOption(int fd, int level, int name, int value) {
  ::setsockopt(fd, level, name, &value, sizeof value);
}

// Options of every connected socket. Lines go out whole, so Nagle's algorithm would only hold a
// line back until the peer's delayed ACK. Keepalive and the limit on unanswered data notice a
// peer that vanished without a FIN, also in a quiet lobby where nothing else is sent.
void setConnectedOptions(int fd) {
  setIntOption(fd, IPPROTO_TCP, TCP_NODELAY, 1);
  setIntOption(fd, SOL_SOCKET, SO_KEEPALIVE, 1);
  setIntOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, static_cast<int>(kKeepAliveIdle.count()));
  setIntOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, static_cast<int>(kKeepAliveInterval.count()));
  setIntOption(fd, IPPROTO_TCP, TCP_KEEPCNT, kKeepAliveProbes);
  setIntOption(fd, IPPROTO_TCP, TCP_USER_TIMEOUT,
               static_cast<int>(std::chrono::milliseconds(kUnansweredLimit).count()));
}

bool isReadable(int fd) {
  if (fd < 0) return false;
  pollfd entry{fd, POLLIN, 0};
  return ::poll(&entry, 1, 0) > 0 && (entry.revents & POLLIN) != 0;
}

// Errors with which accept reports a connection that died before it was taken; the listening
// socket itself is fine.
bool isTransientAcceptError(int error) {
  switch (error) {
    case EINTR:
    case ECONNABORTED:
    case EPROTO:
    case ENETDOWN:
    case ENOPROTOOPT:
    case EHOSTDOWN:
    case ENONET:
    case EHOSTUNREACH:
    case ENETUNREACH:
      return true;
    default:
      return false;
  }
}

}  // namespace

StreamSocket::~StreamSocket() { close(); }

bool StreamSocket::makeSocket() {
  MutexLock state(stateMutex_);
  if (fd_ >= 0) return false;
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  fd_ = fd;
  connected_ = false;
  reader_.reset();
  return true;
}

int StreamSocket::bindAndListen(int port, int backlog) {
  MutexLock state(stateMutex_);
  if (fd_ < 0) return EBADF;
  if (port < 0 || port > kMaxPort) return EINVAL;
  const int on = 1;
  ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  const sockaddr_in address = ipv4Address(htonl(INADDR_ANY), port);
  // Never listen unbound: Linux would pick a random port.
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return errno;
  if (::listen(fd_, backlog) != 0) return errno;
  return 0;
}

bool StreamSocket::connectTo(std::uint32_t address, int port, int cancelFd) {
  int fd;
  {
    MutexLock state(stateMutex_);
    if (fd_ < 0 || connected_) return false;
    fd = fd_;
  }
  if (address == kNoAddress || port <= 0 || port > kMaxPort || isReadable(cancelFd)) return false;

  // Non-blocking for the connect alone, so that `cancelFd` can interrupt it.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) return false;
  const sockaddr_in peer = ipv4Address(address, port);
  bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0;
  if (!ok && errno == EINPROGRESS) {
    pollfd entries[2] = {{fd, POLLOUT, 0}, {cancelFd, POLLIN, 0}};  // poll skips a -1 entry
    int ready;
    do {
      ready =
          ::poll(entries, 2, static_cast<int>(std::chrono::milliseconds(kConnectTimeout).count()));
    } while (ready < 0 && errno == EINTR);
    int error = 0;
    socklen_t length = sizeof error;
    ok = ready > 0 && (entries[1].revents & POLLIN) == 0 &&
         ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
  }
  ::fcntl(fd, F_SETFL, flags);
  if (!ok) return false;
  setConnectedOptions(fd);

  reader_.reset();
  sendQueue_.attach(fd);
  MutexLock state(stateMutex_);
  // A cancel that came while the connect completed wins over it.
  if (isReadable(cancelFd)) return false;
  connected_ = true;
  return true;
}

bool StreamSocket::acceptInto(StreamSocket& into) {
  int fd;
  {
    MutexLock state(stateMutex_);
    fd = fd_;
  }
  if (fd < 0) return false;
  for (;;) {
    const int client = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (client >= 0) {
      setConnectedOptions(client);
      into.install(client, true, false);
      return true;
    }
    if (!isTransientAcceptError(errno)) return false;
  }
}

void StreamSocket::takeOver(StreamSocket& other) {
  if (&other == this) return;
  int fd;
  bool connected;
  other.sendQueue_.detach();
  {
    MutexLock state(other.stateMutex_);
    fd = other.fd_;
    connected = other.connected_;
    other.fd_ = -1;
    other.connected_ = false;
  }
  const bool afterCr = other.reader_.afterCr();
  other.reader_.reset();
  install(fd, connected, afterCr);
}

void StreamSocket::install(int fd, bool connected, bool afterCr) {
  // The previous connection ends before its descriptor closes.
  shutdown();
  sendQueue_.detach();
  int previous;
  {
    MutexLock state(stateMutex_);
    previous = fd_;
    fd_ = fd;
    connected_ = connected && fd >= 0;
  }
  if (previous >= 0) ::close(previous);
  reader_.reset(afterCr);
  if (connected && fd >= 0) sendQueue_.attach(fd);
}

void StreamSocket::shutdown() {
  MutexLock state(stateMutex_);
  connected_ = false;
  if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
}

void StreamSocket::close() {
  // Wakes the send queue's writer first, which may be waiting for room.
  shutdown();
  sendQueue_.detach();
  int fd;
  {
    MutexLock state(stateMutex_);
    fd = fd_;
    fd_ = -1;
    connected_ = false;
  }
  if (fd >= 0) ::close(fd);
}

bool StreamSocket::hasHandle() const {
  MutexLock state(stateMutex_);
  return fd_ >= 0;
}

std::size_t StreamSocket::waitingBytes() const {
  int fd;
  {
    MutexLock state(stateMutex_);
    fd = fd_;
  }
  int inKernel = 0;
  if (fd < 0 || ::ioctl(fd, FIONREAD, &inKernel) != 0 || inKernel < 0) inKernel = 0;
  return reader_.unreadBytes() + static_cast<std::size_t>(inKernel);
}

bool StreamSocket::isConnected() const {
  {
    MutexLock state(stateMutex_);
    if (!connected_) return false;
  }
  return !sendQueue_.failed();
}

int StreamSocket::localPort() const {
  MutexLock state(stateMutex_);
  if (fd_ < 0) return 0;
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

StreamSocket::ReadResult StreamSocket::readLine(char* buffer, int limit,
                                                const std::function<void()>& beforeWaiting) {
  if (!isConnected()) return kNoLine;
  int length = 0;
  for (;;) {
    const LineReader::Result result = reader_.read(buffer, length, limit);
    if (result == LineReader::kLine) return kLine;
    if (result == LineReader::kLimitLine) return kLimitLine;
    if (beforeWaiting) beforeWaiting();
    if (!receiveChunk()) {
      buffer[length] = '\0';  // a line begun but not ended is dropped
      return kNoLine;
    }
  }
}

bool StreamSocket::receiveChunk() {
  // Only the serving worker changes fd_ while it runs, so the descriptor stays valid after the
  // lock is released.
  int fd;
  {
    MutexLock state(stateMutex_);
    fd = fd_;
  }
  ssize_t count = -1;
  if (fd >= 0) {
    do {
      count = ::recv(fd, reader_.chunkSpace(), kChunkBytes - 1, 0);
    } while (count < 0 && errno == EINTR);
  }
  if (count <= 0) {
    reader_.reset();
    shutdown();
    return false;
  }
  reader_.takeChunk(static_cast<int>(count));
  return true;
}

bool StreamSocket::queueLine(std::string_view text) {
  {
    MutexLock state(stateMutex_);
    if (!connected_) return false;
  }
  return sendQueue_.append(text);
}

void StreamSocket::flush() { sendQueue_.flush(); }

bool StreamSocket::writeLine(std::string_view text) {
  if (!queueLine(text)) return false;
  flush();
  return true;
}

std::uint32_t resolveHost(const std::string& name) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) == 0 && found != nullptr) {
    const std::uint32_t address =
        reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(found);
    return address;
  }
  if (found != nullptr) ::freeaddrinfo(found);
  return StreamSocket::kNoAddress;
}

}  // namespace pentaro
