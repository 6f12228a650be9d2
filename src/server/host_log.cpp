// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "server/host_log.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace pentaro {
namespace {

// The writer looks for a stop this often while the descriptor has no room.
constexpr std::chrono::milliseconds kRoomWaitSlice{100};

}  // namespace

HostLog::HostLog(int fd) : fd_(fd), writer_([this] { writerLoop(); }) {}

HostLog::~HostLog() {
  {
    MutexLock lock(mutex_);
    stopping_ = true;
    stopDeadline_ = std::chrono::steady_clock::now() + kCloseLimit;
  }
  changed_.notifyAll();
  writer_.join();
}

void HostLog::write(std::string_view line) {
  {
    MutexLock lock(mutex_);
    if (lines_.size() >= kQueueLines) {
      ++dropped_;
      return;
    }
    lines_.emplace_back(line);
    lines_.back() += '\n';
  }
  changed_.notifyOne();
}

std::uint64_t HostLog::dropped() const {
  MutexLock lock(mutex_);
  return dropped_;
}

void HostLog::writerLoop() {
  for (;;) {
    std::string text;
    {
      MutexLock lock(mutex_);
      while (lines_.empty() && dropped_ == droppedReported_ && !stopping_) changed_.wait(mutex_);
      if (!lines_.empty()) {
        text = std::move(lines_.front());
        lines_.pop_front();
      } else if (dropped_ != droppedReported_) {
        // Once the writer has caught up: how much of the log is missing before this point.
        text = "log: " + std::to_string(dropped_ - droppedReported_) +
               " lines dropped (nobody read the log)\n";
        droppedReported_ = dropped_;
      } else {
        return;  // stopping, and everything is out
      }
    }
    if (!writeAll(text)) {
      MutexLock lock(mutex_);
      if (stopping_) return;  // the reader is gone or too slow: the rest is lost at exit
    }
  }
}

bool HostLog::writeAll(const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    pollfd entry{fd_, POLLOUT, 0};
    const int ready = ::poll(&entry, 1, static_cast<int>(kRoomWaitSlice.count()));
    if (ready == 0 || (ready < 0 && errno == EINTR)) {
      MutexLock lock(mutex_);
      if (stopping_ && std::chrono::steady_clock::now() >= stopDeadline_) return false;
      continue;
    }
    if (ready < 0 || (entry.revents & (POLLERR | POLLNVAL)) != 0) return false;
    // A pipe that reports room takes a short line without blocking.
    const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace pentaro
