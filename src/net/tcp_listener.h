// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The server side of the socket layer: a listening socket, an accept worker, and a fixed pool of
// ConnectionSlots. Each accepted connection goes into the free slot with the lowest index, whose
// own worker reads it; with no free slot the connection is closed at once. Events reach the
// owner's Handler, each on a worker: the slot callbacks on that slot's worker, the others on the
// accept worker. The owner holds the listener as its last member, so that every worker has been
// joined before anything the handler uses goes away. The pool is fixed while listening; the other
// operations may be called from any thread.
#ifndef PENTARO_NET_TCP_LISTENER_H_
#define PENTARO_NET_TCP_LISTENER_H_

#include <sys/socket.h>

#include <atomic>
#include <memory>
#include <string_view>
#include <vector>

#include "base/mutex.h"
#include "net/connection_slot.h"
#include "net/stream_socket.h"
#include "net/worker_thread.h"

namespace pentaro {

class TcpListener {
 public:
  // Connections the kernel holds for the accept worker: as many as it allows (SOMAXCONN, capped
  // by net.core.somaxconn). Connects that close at once (a port scan, a client giving up) come
  // faster than the accept worker takes them; a connect that finds the queue full is dropped by
  // the kernel, and its client waits a second for the retry.
  static constexpr int kBacklog = SOMAXCONN;

  // What the workers report. Lines queued with queueTo from a slot callback go out when the
  // callback returns, or, for received lines, once the received bytes are used up.
  class Handler {
   public:
    virtual void onConnected(int /*index*/) {}
    virtual void onClosed(int /*index*/) {}
    virtual void onLineReceived(int /*index*/, std::string_view /*line*/) {}
    // The slot's connection is ended for its backlog (see setLineRate); onClosed follows.
    virtual void onFlooded(int /*index*/) {}
    virtual void onRefused(StreamSocket& /*socket*/) {}
    virtual void onListenStarted() {}
    virtual void onListenEnded() {}

   protected:
    ~Handler() = default;
  };

  explicit TcpListener(Handler& handler);
  // stop()
  ~TcpListener();
  TcpListener(const TcpListener&) = delete;
  TcpListener& operator=(const TcpListener&) = delete;

  // Replaces the pool by `count` fresh slots numbered from 0. False while listening.
  bool createSlots(int count);
  int slotCount() const { return static_cast<int>(slots_.size()); }

  // Opens the listening socket on `port` and starts the accept worker; false if the pool is
  // empty, the listener is listening (its accept worker still runs, also while it is ending), or
  // no socket can be made. A port that cannot be bound still returns true: the accept worker
  // then calls onListenStarted and onListenEnded at once, and listenError() tells why.
  bool startListening(int port, int backlog = kBacklog);
  // 0, or the errno with which the last bind or listen failed.
  int listenError() const;

  // Each connection's lines are handed on at most `perSecond` a second, after a burst of
  // `burst`; a slot worker past its rate waits (and so reads nothing), it never drops a line.
  // A connection whose waiting lines would take more than `backlogSeconds` at that rate is
  // ended instead (onFlooded, then the ordinary close); 0 never ends one. 0 lines a second: no
  // limit (the default). Applies from the next line on. Any thread.
  void setLineRate(double perSecond, double burst, double backlogSeconds = 0);
  double lineRate() const { return lineRate_.load(); }
  double lineBurst() const { return lineBurst_.load(); }
  double backlogSeconds() const { return backlogSeconds_.load(); }

  // Queues one line for a slot, sent at the next flush; an index outside the pool, or a free
  // slot, does nothing. On a slot worker, every callback's queued lines are flushed before the
  // worker waits for more bytes: the lines made from one received chunk leave in one send per
  // connection. Never waits: what the peer's kernel does not take yet stays in the slot's send
  // queue, and a peer that stops reading loses its connection at the queue's limit.
  void queueTo(int index, std::string_view text);
  // Sends what is queued for every slot, without waiting. Any thread.
  void flushQueued();
  // Ends a slot's connection; its worker then closes it and calls onClosed.
  void closeSlot(int index);
  // closeSlot for every slot, then ends listening. The accept worker waits for every slot's
  // onClosed before it calls onListenEnded. Any thread.
  void closeAll();
  // closeAll, then waits for every worker to end. From a worker of this listener, which cannot
  // wait for itself, it only calls closeAll.
  void stop();

  // The accept worker runs: from startListening until after onListenEnded has returned.
  bool running() const { return acceptWorker_.running(); }
  // Waits until the accept worker has ended. Not from a worker of this listener.
  void waitUntilEnded() { acceptWorker_.waitUntilEnded(); }

 private:
  friend class ConnectionSlot;

  void run();  // the accept loop
  ConnectionSlot* firstFreeSlot();
  // With no slot free: a slot whose peer has gone and whose worker is ending, once that worker
  // has ended, so a newcomer is not refused for a player who has already left.
  ConnectionSlot* slotOfAGonePeer();
  bool calledFromWorker() const;

  // Keeps startListening and createSlots apart from each other and from the shutdown of the
  // listening socket in closeAll.
  Mutex listenMutex_;
  // Not guarded by listenMutex_ as a whole: the accept worker accepts on it and closes it without
  // the lock (the socket's state has a mutex of its own); listenMutex_ only orders its making and
  // its shut-down.
  StreamSocket listening_;
  // Changed under listenMutex_ and only while not listening; read freely (by the workers too),
  // which the analysis cannot express.
  std::vector<std::unique_ptr<ConnectionSlot>> slots_;
  std::atomic<int> listenError_{0};
  std::atomic<double> lineRate_{0};
  std::atomic<double> lineBurst_{0};
  std::atomic<double> backlogSeconds_{0};
  Handler& handler_;
  WorkerThread acceptWorker_;  // last: joined before the members its body uses go away
};

}  // namespace pentaro

#endif  // PENTARO_NET_TCP_LISTENER_H_
