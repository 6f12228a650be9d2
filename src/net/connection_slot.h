// One pooled server-side connection: a fixed index, the owning listener, a socket, and the worker
// that reads the socket's lines and hands them to the listener. Owned by its TcpListener; the
// accept worker fills it, its own worker reads and closes it, any thread may write to it.
#ifndef PENTARO_NET_CONNECTION_SLOT_H_
#define PENTARO_NET_CONNECTION_SLOT_H_

#include <condition_variable>
#include <mutex>

#include "net/stream_socket.h"
#include "net/token_bucket.h"
#include "net/worker_thread.h"

namespace pentaro {

class TcpListener;

class ConnectionSlot : public WorkerThread {
 public:
  // The server reads lines in pieces of at most this many bytes.
  static constexpr int kLineLimit = 125;
  static constexpr int kLineBufferBytes = 128;

  ConnectionSlot(int index, TcpListener& owner);
  // Ends the connection and joins the worker.
  ~ConnectionSlot() override;

  int index() const { return index_; }
  StreamSocket& socket() { return socket_; }
  // Free: no connection, and the worker of the previous one has ended.
  bool isFree() const;
  // Ends the connection; wakes the worker also while it waits for the line rate. Any thread.
  void close();

 protected:
  // onConnected, then every line (pieces of an over-long one included), then close and
  // onClosed; the owner's queued lines are flushed after onConnected, whenever the received
  // bytes are used up, and after onClosed. Past the owner's line rate, the worker waits before
  // it hands on the next line (and reads nothing meanwhile).
  void run() override;

 private:
  const int index_;
  TcpListener& owner_;
  // Waits `duration`, or less when the connection ends; false when it has ended.
  bool pause(TokenBucket::Clock::duration duration);

  StreamSocket socket_;
  TokenBucket pacing_;  // the worker's alone
  std::mutex pauseMutex_;
  std::condition_variable closed_;  // notified under pauseMutex_ after the socket is shut down
};

}  // namespace pentaro

#endif  // PENTARO_NET_CONNECTION_SLOT_H_
