// One blocking IPv4 TCP socket with the line reader of its connection.
//
// Threads: the worker that serves the connection is the only one that reads, connects, accepts
// and closes while it runs. Any thread may write (`writeLine` is serialised by a write lock, so
// lines never mix) and may call `shutdown`, which wakes the worker's blocked call; the descriptor
// itself is closed only by the worker, or by anyone once no worker runs, so it is never reused
// under another thread's feet. Not copyable.
#ifndef PENTARO_NET_STREAM_SOCKET_H_
#define PENTARO_NET_STREAM_SOCKET_H_

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "net/line_reader.h"

namespace pentaro {

// A line that cannot be handed to the network within this time (a peer that stopped reading)
// closes the connection. Connected sockets carry it as SO_SNDTIMEO, so no send blocks longer.
inline constexpr std::chrono::seconds kSendStallTimeout{5};

class StreamSocket {
 public:
  static constexpr int kChunkBytes = LineReader::kChunkBytes;
  static constexpr std::uint32_t kNoAddress = 0xFFFFFFFF;

  // Results of readLine.
  enum ReadResult : int {
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
  // reader starts with an empty chunk.
  void takeOver(StreamSocket& other);

  // Wakes every call blocked on this socket and ends the connection; the descriptor stays open.
  // Any thread.
  void shutdown();
  // Shuts down and closes the descriptor. Only by the serving worker, or when no worker serves
  // this socket.
  void close();

  bool hasHandle() const;
  bool isConnected() const;
  int localPort() const;

  // Reads the next line into `buffer` (NUL-terminated, at most `limit` bytes of text; the buffer
  // holds at least limit + 1 bytes). CR LF, a lone CR and a lone LF each end a line; an LF right
  // after a line-ending CR is skipped, also across receives. Worker only.
  int readLine(char* buffer, int limit);
  // Sends `text` and CR LF whole, continuing short sends. A failure, or a line not handed over
  // within kSendStallTimeout, shuts the connection down and returns false. Any thread.
  bool writeLine(std::string_view text);

 private:
  bool receiveChunk();
  // Puts a descriptor (and its connection state) into this socket, closing any previous one.
  void install(int fd, bool connected, bool afterCr);

  // Lock order: writeMutex_ before stateMutex_.
  mutable std::mutex writeMutex_;  // held for a whole line's send, and to change fd_
  mutable std::mutex stateMutex_;  // held to change fd_ and connected_, briefly
  int fd_ = -1;             // changed under both mutexes; read under either, or by the worker
  bool connected_ = false;  // guarded by stateMutex_

  LineReader reader_;  // the serving worker's alone
};

// A host name looked up with getaddrinfo (IPv4), else a dotted address; kNoAddress when the text
// is neither. Network byte order.
std::uint32_t resolveHost(const std::string& name);

}  // namespace pentaro

#endif  // PENTARO_NET_STREAM_SOCKET_H_
