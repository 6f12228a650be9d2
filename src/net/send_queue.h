// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The outgoing bytes of one connection. Any thread appends whole lines; flush() hands everything
// queued to the kernel in one send that never waits, and what the kernel does not take yet is
// left to the queue's writer thread, which waits for room (POLLOUT) and sends on. The writer is
// started the first time the kernel is full, and stopped and joined by detach() or the
// destructor. A queue past kQueueLimit, or without progress for kNoProgressTimeout, fails: it
// shuts its socket down, so that the connection's reader sees the end. Owned by one StreamSocket.
#ifndef PENTARO_NET_SEND_QUEUE_H_
#define PENTARO_NET_SEND_QUEUE_H_

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <thread>

#include "base/mutex.h"
#include "base/thread_annotations.h"

namespace pentaro {

class SendQueue {
 public:
  // Only a peer that has really stopped reading gets this far behind: a busy lobby queues a few
  // kilobytes for a slow one.
  static constexpr std::size_t kQueueLimit = 1 << 20;
  // A peer that takes nothing of a waiting queue for this long is given up.
  static constexpr std::chrono::seconds kNoProgressTimeout{30};

  SendQueue() = default;
  ~SendQueue() { detach(); }
  SendQueue(const SendQueue&) = delete;
  SendQueue& operator=(const SendQueue&) = delete;

  // Starts sending on a connected descriptor, with an empty queue.
  void attach(int fd);
  // Stops sending and forgets what is queued; afterwards nothing here touches the descriptor, so
  // it may be closed. Waits for a send in progress and for the writer, so the socket must have
  // been shut down first unless nothing waits for room. Not from the writer.
  void detach();

  // Queues `text` and CR LF. False when detached or failed, and when the line would take the
  // queue past kQueueLimit: the queue then fails. Any thread.
  bool append(std::string_view text);
  // Sends what is queued now, without waiting; the writer takes over what the kernel leaves.
  // Any thread.
  void flush();

  // The queue gave up on its peer (limit, no progress, or a send error).
  bool failed() const;

 private:
  using Clock = std::chrono::steady_clock;

  // One send of everything queued, by the owner of the sending turn. Releases mutex_ for the
  // send itself and holds it again on return. True when the kernel took all of it.
  bool sendOnce() PENTARO_REQUIRES(mutex_);
  // Releases mutex_ until the descriptor has room or the time without progress has run out, then
  // fails the queue in the latter case; holds mutex_ again on return.
  void waitForRoomOrFail() PENTARO_REQUIRES(mutex_);
  void fail() PENTARO_REQUIRES(mutex_);
  void startWriter() PENTARO_REQUIRES(mutex_);
  void writerLoop() PENTARO_EXCLUDES(mutex_);

  mutable Mutex mutex_;
  CondVar changed_;  // a sending turn ended, bytes await the writer, or detach
  int fd_ PENTARO_GUARDED_BY(mutex_) = -1;
  bool attached_ PENTARO_GUARDED_BY(mutex_) = false;
  bool failed_ PENTARO_GUARDED_BY(mutex_) = false;
  bool sending_ PENTARO_GUARDED_BY(mutex_) = false;    // a thread owns the sending turn
  std::string pending_ PENTARO_GUARDED_BY(mutex_);     // lines not taken into batch_ yet
  std::size_t queued_ PENTARO_GUARDED_BY(mutex_) = 0;  // bytes not sent, batch_'s rest included
  Clock::time_point lastProgress_ PENTARO_GUARDED_BY(mutex_);
  std::thread writer_ PENTARO_GUARDED_BY(mutex_);

  // The bytes being sent and how many of them are out: the sending turn's owner's alone, which
  // sends them with mutex_ released (so they cannot be marked as guarded by it); detach clears
  // them once no thread owns the turn.
  std::string batch_;
  std::size_t batchSent_ = 0;
};

}  // namespace pentaro

#endif  // PENTARO_NET_SEND_QUEUE_H_
