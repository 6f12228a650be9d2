// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/send_queue.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace pentaro {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
// Sends one flush makes at most, as long as the kernel takes everything and more is queued.
constexpr int kFlushRounds = 4;

// Waits until `fd` has room for more bytes, or `deadline`; false on the deadline.
bool waitForRoom(int fd, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd entry{fd, POLLOUT, 0};
    // A shut-down socket reports POLLOUT or POLLHUP at once, so detach never waits here long.
    const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return true;  // the send that follows reports the error
  }
}

}  // namespace

void SendQueue::attach(int fd) {
  detach();
  MutexLock lock(mutex_);
  fd_ = fd;
  attached_ = fd >= 0;
  failed_ = false;
}

void SendQueue::detach() {
  std::thread writer;
  {
    MutexLock lock(mutex_);
    attached_ = false;
    changed_.notifyAll();
    while (sending_) changed_.wait(mutex_);
    writer = std::move(writer_);
    fd_ = -1;
    pending_.clear();
    queued_ = 0;
    batch_.clear();
    batchSent_ = 0;
  }
  if (writer.joinable()) writer.join();
}

bool SendQueue::append(std::string_view text) {
  MutexLock lock(mutex_);
  if (!attached_ || failed_) return false;
  const std::size_t bytes = text.size() + kLineEnd.size();
  if (queued_ + bytes > kQueueLimit) {
    fail();
    return false;
  }
  // The time without progress counts from the first byte that waits.
  if (queued_ == 0) lastProgress_ = Clock::now();
  pending_.append(text);
  pending_.append(kLineEnd);
  queued_ += bytes;
  return true;
}

void SendQueue::flush() {
  MutexLock lock(mutex_);
  if (!attached_ || failed_ || sending_ || queued_ == 0) return;
  sending_ = true;
  // Lines that other threads queue while this one sends go out in its next round; a thread that
  // finds the turn taken leaves its lines to it. After kFlushRounds, or when the kernel is full,
  // the writer takes over.
  for (int round = 0; round < kFlushRounds; ++round) {
    if (!sendOnce() || !attached_ || failed_ || queued_ == 0) break;
  }
  sending_ = false;
  if (attached_ && !failed_ && queued_ > 0) startWriter();
  changed_.notifyAll();
}

bool SendQueue::failed() const {
  MutexLock lock(mutex_);
  return failed_;
}

bool SendQueue::sendOnce() {
  if (batchSent_ == batch_.size()) {
    batch_.clear();
    batchSent_ = 0;
    batch_.swap(pending_);
  } else if (!pending_.empty()) {
    batch_.erase(0, batchSent_);
    batchSent_ = 0;
    batch_.append(pending_);
    pending_.clear();
  }
  const int fd = fd_;
  mutex_.unlock();
  ssize_t count;
  do {
    count = ::send(fd, batch_.data() + batchSent_, batch_.size() - batchSent_,
                   MSG_DONTWAIT | MSG_NOSIGNAL);
  } while (count < 0 && errno == EINTR);
  const int error = errno;
  mutex_.lock();
  if (failed_ || !attached_) return false;  // what was queued has been dropped meanwhile
  if (count > 0) {
    batchSent_ += static_cast<std::size_t>(count);
    queued_ -= static_cast<std::size_t>(count);
    lastProgress_ = Clock::now();
  } else if (count < 0 && error != EAGAIN && error != EWOULDBLOCK) {
    fail();
  }
  return batchSent_ == batch_.size();
}

void SendQueue::waitForRoomOrFail() {
  const int fd = fd_;
  const Clock::time_point deadline = lastProgress_ + kNoProgressTimeout;
  mutex_.unlock();
  const bool room = waitForRoom(fd, deadline);
  mutex_.lock();
  if (!room && Clock::now() >= lastProgress_ + kNoProgressTimeout) fail();
}

void SendQueue::fail() {
  if (failed_) return;
  failed_ = true;
  // The reader of the connection wakes up to the end of the stream and ends the connection.
  if (fd_ >= 0) ::shutdown(fd_, SHUT_RDWR);
  pending_.clear();
  queued_ = 0;
}

void SendQueue::startWriter() {
  if (writer_.joinable()) {
    return;  // it waits for its turn already
  }
  try {
    writer_ = std::thread(&SendQueue::writerLoop, this);
  } catch (const std::system_error&) {
    fail();
  }
}

void SendQueue::writerLoop() {
  MutexLock lock(mutex_);
  for (;;) {
    while (attached_ && !(queued_ > 0 && !sending_ && !failed_)) changed_.wait(mutex_);
    if (!attached_) return;
    sending_ = true;
    while (attached_ && !failed_ && queued_ > 0) {
      sendOnce();
      if (!attached_ || failed_ || queued_ == 0) break;
      waitForRoomOrFail();
    }
    sending_ = false;
    changed_.notifyAll();
  }
}

}  // namespace pentaro
