// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The client side of the socket layer: one socket and one worker that connects to a host and
// then reads lines, handing each to onLineReceived. A line longer than the line buffer is dropped
// whole, never delivered in pieces. The owner's Handler gets the callbacks, on the worker; the
// owner holds the connection as its last member, so that the worker has been joined before
// anything the handler uses goes away. open() and stop() belong to one controlling thread;
// disconnect() and sendLine() may come from any thread: open() and disconnect() are serialised,
// so a disconnect never closes the descriptor of a connection that an open() has just begun.
#ifndef PENTARO_NET_TCP_CONNECTION_H_
#define PENTARO_NET_TCP_CONNECTION_H_

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/mutex.h"
#include "base/thread_annotations.h"
#include "net/stream_socket.h"
#include "net/worker_thread.h"

namespace pentaro {

class TcpConnection {
 public:
  // Whole lines up to this many bytes are delivered; longer ones are dropped.
  static constexpr int kLineLimit = StreamSocket::kChunkBytes - 1;

  class Handler {
   public:
    virtual void onConnected() {}
    // The connect failed (refused, unreachable, an unknown host, or no answer within
    // kConnectTimeout); not called when disconnect() cancelled it.
    virtual void onConnectFailed() {}
    virtual void onClosed() {}
    virtual void onLineReceived(std::string_view /*line*/) {}

   protected:
    ~Handler() = default;
  };

  explicit TcpConnection(Handler& handler);
  // stop()
  ~TcpConnection();
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;

  // Resolves `host` and starts the worker, which connects and reads. False when no socket can be
  // made or the previous worker has not ended yet (its onClosed may still be running); a previous
  // worker whose last callback has returned is waited for. A failed
  // connect calls onConnectFailed; the socket keeps its descriptor until disconnect() or the next
  // open(). An unresolvable host gives a connect that fails.
  bool open(const std::string& host, int port);
  // Ends the connection, or a pending connect; onClosed follows on the worker if it was
  // connected. Any thread.
  void disconnect();
  // One line to the server (CR LF is added), sent at once or queued; never waits for the peer.
  // False when not connected or the send queue has given up on the server.
  bool sendLine(std::string_view text);
  bool isConnected() const { return socket_.isConnected(); }
  // disconnect, then waits for the worker. From the worker itself it only disconnects.
  void stop();

  // The worker runs: from open() until after onClosed has returned (or the connect failed).
  bool running() const { return worker_.running(); }
  // Waits until the worker has ended; from the worker itself it returns at once.
  void waitUntilEnded() { worker_.waitUntilEnded(); }

 private:
  void run();
  void clearCancel();
  bool cancelled() const;

  // Held by open() and disconnect() for their whole course; guards no field of its own (the
  // socket and the worker have their own locks): it keeps the close of a disconnect that found no
  // worker apart from an open() that is starting one.
  Mutex controlMutex_;
  StreamSocket socket_;
  int cancelFd_ = -1;  // an eventfd that interrupts a pending connect
  std::uint32_t address_ = StreamSocket::kNoAddress;  // set by open() before the worker starts
  int port_ = 0;
  Handler& handler_;
  // The worker's last callback has returned: it only has to end. Set by the worker, read by open().
  std::atomic<bool> finished_{true};
  WorkerThread worker_;  // last: joined before the members its body uses go away
};

}  // namespace pentaro

#endif  // PENTARO_NET_TCP_CONNECTION_H_
