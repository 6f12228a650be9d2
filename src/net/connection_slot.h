// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One pooled server-side connection: a fixed index, the owning listener, a socket, and the worker
// that reads the socket's lines and hands them to the listener's handler. Owned by its
// TcpListener; the accept worker fills and starts it, its own worker reads and closes it, any
// thread may write to it.
#ifndef PENTARO_NET_CONNECTION_SLOT_H_
#define PENTARO_NET_CONNECTION_SLOT_H_

#include "base/mutex.h"
#include "net/stream_socket.h"
#include "net/token_bucket.h"
#include "net/worker_thread.h"

namespace pentaro {

class TcpListener;

class ConnectionSlot {
 public:
  // The server reads lines in pieces of at most this many bytes.
  static constexpr int kLineLimit = 125;
  static constexpr int kLineBufferBytes = 128;

  ConnectionSlot(int index, TcpListener& owner);
  // Ends the connection and joins the worker.
  ~ConnectionSlot();
  ConnectionSlot(const ConnectionSlot&) = delete;
  ConnectionSlot& operator=(const ConnectionSlot&) = delete;

  // Starts the worker on the connection just put into socket(); false while one runs.
  bool start() {
    return worker_.start([this] { run(); });
  }
  void join() { worker_.join(); }
  bool isWorkerThread() const { return worker_.isWorkerThread(); }

  int index() const { return index_; }
  StreamSocket& socket() { return socket_; }
  // Free: no connection, and the worker of the previous one has ended.
  bool isFree() const;
  // Ends the connection; wakes the worker also while it waits for the line rate. Any thread.
  void close();

 private:
  // The worker's body: onConnected, then every line (pieces of an over-long one included), then
  // close and onClosed; the owner's queued lines are flushed after onConnected, whenever the
  // received bytes are used up, and after onClosed. Past the owner's line rate, the worker waits
  // before it hands on the next line (and reads nothing meanwhile); a backlog past the owner's
  // bound ends the connection (onFlooded first).
  void run();
  // The lines waiting to be handled take more than the owner's backlog bound at its line rate.
  // Estimated from the bytes waiting and the mean length of the lines handled so far.
  bool backlogTooLong(double meanLineBytes) const;
  const int index_;
  TcpListener& owner_;
  // Waits `duration`, or less when the connection ends; false when it has ended.
  bool pause(TokenBucket::Clock::duration duration);

  StreamSocket socket_;
  TokenBucket pacing_;  // the worker's alone
  // Guards no field: it only keeps close()'s notification from slipping in between pause()'s look
  // at the socket and its wait (the socket's state has a mutex of its own).
  Mutex pauseMutex_;
  CondVar closed_;       // notified under pauseMutex_ after the socket is shut down
  WorkerThread worker_;  // last: joined before the members its body uses go away
};

}  // namespace pentaro

#endif  // PENTARO_NET_CONNECTION_SLOT_H_
