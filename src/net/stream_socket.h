// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One IPv4 TCP socket with the line reader and the send queue of its connection. Reads block;
// sends never do: lines are queued whole and sent by SendQueue.
//
// Threads: the worker that serves the connection is the only one that reads, connects, accepts
// and closes while it runs. Any thread may queue and flush lines (whole, in the order queued) and
// may call `shutdown`, which wakes the worker's blocked call; the descriptor itself is closed only
// by the worker, or by anyone once no worker runs, so it is never reused under another thread's
// feet. Not copyable.
#ifndef PENTARO_NET_STREAM_SOCKET_H_
#define PENTARO_NET_STREAM_SOCKET_H_

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/mutex.h"
#include "base/thread_annotations.h"
#include "net/line_reader.h"
#include "net/send_queue.h"

namespace pentaro {

// A connect that has no answer within this time fails (a host that drops the packets would
// otherwise keep the player waiting for the kernel's minutes of retries).
inline constexpr std::chrono::seconds kConnectTimeout{10};

// A peer that has gone without closing (a laptop asleep, Wi-Fi gone) is noticed on every
// connected socket within about 45 s: after kKeepAliveIdle of silence the kernel probes every
// kKeepAliveInterval, and a connection whose data or probes stay unanswered for
// kUnansweredLimit ends as if the peer had reset it. Probes are empty TCP
// segments that any peer's kernel answers, so the lines on the wire do not change.
inline constexpr std::chrono::seconds kKeepAliveIdle{15};
inline constexpr std::chrono::seconds kKeepAliveInterval{5};
inline constexpr int kKeepAliveProbes = 6;
inline constexpr std::chrono::seconds kUnansweredLimit{45};

class StreamSocket {
 public:
  static constexpr int kChunkBytes = LineReader::kChunkBytes;
  static constexpr std::uint32_t kNoAddress = 0xFFFFFFFF;

  // Results of readLine.
  enum ReadResult {
    kNoLine = 0,                // the connection has ended (or never was): no line
    kLine = LineReader::kLine,  // a whole line, without its terminator
    kLimitLine =
        LineReader::kLimitLine,  // the first `limit` bytes of a longer line; the rest follows
  };

  StreamSocket() = default;
  ~StreamSocket();
  StreamSocket(const StreamSocket&) = delete;
  StreamSocket& operator=(const StreamSocket&) = delete;

  // A fresh stream socket; false if this object already has one or none can be made.
  bool makeSocket();
  // Binds to `port` on every local address and listens. Returns 0 or the errno of the failure.
  int bindAndListen(int port, int backlog);
  // Connects to an IPv4 address (network order). Returns early with false when `cancelFd`
  // (an eventfd, or -1) becomes readable, also when it already is. Marks the socket connected
  // on success. Serving worker only.
  bool connectTo(std::uint32_t address, int port, int cancelFd = -1);
  // Waits for one connection and moves it into `into` (which no worker may serve yet); false when
  // the accept fails (for instance because this socket was shut down).
  bool acceptInto(StreamSocket& into);
  // Takes over `other`'s descriptor and connection state; `other` is left without one. The line
  // reader starts with an empty chunk, the send queue empty; nobody may write to `other` meanwhile.
  void takeOver(StreamSocket& other);

  // Wakes every call blocked on this socket and ends the connection; the descriptor stays open.
  // Any thread.
  void shutdown();
  // Shuts down and closes the descriptor. Only by the serving worker, or when no worker serves
  // this socket.
  void close();

  bool hasHandle() const;
  // Received bytes not read as lines yet: the rest of the reader's chunk and what the kernel
  // holds. Worker only.
  std::size_t waitingBytes() const;
  // Connected, and the send queue has not given up on the peer.
  bool isConnected() const;
  int localPort() const;

  // Reads the next line into `buffer` (NUL-terminated, at most `limit` bytes of text; the buffer
  // holds at least limit + 1 bytes), framed by LineReader. `beforeWaiting`, if set, runs each
  // time the bytes received so far are used up, before the next receive. Worker only.
  ReadResult readLine(char* buffer, int limit, const std::function<void()>& beforeWaiting = {});
  // Queues `text` and CR LF; false when not connected or the queue has given up (it shuts the
  // connection down). Nothing is sent before the next flush. Any thread.
  bool queueLine(std::string_view text);
  // Sends what is queued without waiting; the send queue's writer takes over the rest. Any thread.
  void flush();
  // queueLine, then flush. Any thread.
  bool writeLine(std::string_view text);

 private:
  bool receiveChunk();
  // Puts a descriptor (and its connection state) into this socket, closing any previous one.
  void install(int fd, bool connected, bool afterCr);

  mutable Mutex stateMutex_;  // held to change or read fd_ and connected_, briefly
  int fd_ PENTARO_GUARDED_BY(stateMutex_) = -1;
  bool connected_ PENTARO_GUARDED_BY(stateMutex_) = false;
  SendQueue sendQueue_;  // attached while connected, detached before the descriptor closes

  LineReader reader_;  // the serving worker's alone
};

// A host name or a dotted address, looked up with getaddrinfo (IPv4); kNoAddress when the text
// is neither. Network byte order.
std::uint32_t resolveHost(const std::string& name);

}  // namespace pentaro

#endif  // PENTARO_NET_STREAM_SOCKET_H_
