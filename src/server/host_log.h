// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The lobby host's log: lines queued from any thread, also under the server's lock, and written
// to a descriptor (standard output) by a writer thread of its own, so a log nobody reads never
// holds up a player. The queue is bounded: lines that find it full are dropped and counted, and
// the count is written as a line of its own once there is room. Owns its writer thread; the
// destructor writes what is queued for at most kCloseLimit, then stops.
#ifndef PENTARO_SERVER_HOST_LOG_H_
#define PENTARO_SERVER_HOST_LOG_H_

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <thread>

#include "base/mutex.h"
#include "base/thread_annotations.h"

namespace pentaro {

class HostLog {
 public:
  // Lines held for the writer; a busy lobby logs a few lines a second.
  static constexpr std::size_t kQueueLines = 1000;
  // How long the destructor lets the writer empty the queue into a reader that is slow or gone.
  static constexpr std::chrono::seconds kCloseLimit{2};

  explicit HostLog(int fd);
  ~HostLog();
  HostLog(const HostLog&) = delete;
  HostLog& operator=(const HostLog&) = delete;

  // Queues `line` (a newline is added); never waits for the descriptor. Any thread.
  void write(std::string_view line);
  // Lines dropped so far because the queue was full.
  std::uint64_t dropped() const;

 private:
  void writerLoop();
  // Writes all of `text`, waiting for room in slices so that a stop is seen; false when the
  // descriptor failed or the stop's deadline passed.
  bool writeAll(const std::string& text);

  const int fd_;
  mutable Mutex mutex_;
  CondVar changed_;
  std::deque<std::string> lines_ PENTARO_GUARDED_BY(mutex_);
  std::uint64_t dropped_ PENTARO_GUARDED_BY(mutex_) = 0;
  std::uint64_t droppedReported_ PENTARO_GUARDED_BY(mutex_) = 0;
  bool stopping_ PENTARO_GUARDED_BY(mutex_) = false;
  std::chrono::steady_clock::time_point stopDeadline_ PENTARO_GUARDED_BY(mutex_);
  std::thread writer_;  // last: started once every field above is made
};

}  // namespace pentaro

#endif  // PENTARO_SERVER_HOST_LOG_H_
