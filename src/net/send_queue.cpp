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
  std::lock_guard lock(mutex_);
  fd_ = fd;
  attached_ = fd >= 0;
  failed_ = false;
}

void SendQueue::detach() {
  std::thread writer;
  {
    std::unique_lock lock(mutex_);
    attached_ = false;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !sending_; });
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
  std::lock_guard lock(mutex_);
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
  std::unique_lock lock(mutex_);
  if (!attached_ || failed_ || sending_ || queued_ == 0) return;
  sending_ = true;
  // Lines that other threads queue while this one sends go out in its next round; a thread that
  // finds the turn taken leaves its lines to it. After kFlushRounds, or when the kernel is full,
  // the writer takes over.
  for (int round = 0; round < kFlushRounds; ++round) {
    if (!sendOnce(lock) || !attached_ || failed_ || queued_ == 0) break;
  }
  sending_ = false;
  if (attached_ && !failed_ && queued_ > 0) startWriter();
  changed_.notify_all();
}

bool SendQueue::failed() const {
  std::lock_guard lock(mutex_);
  return failed_;
}

std::size_t SendQueue::queuedBytes() const {
  std::lock_guard lock(mutex_);
  return queued_;
}

bool SendQueue::sendOnce(std::unique_lock<std::mutex>& lock) {
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
  lock.unlock();
  ssize_t count;
  do {
    count = ::send(fd, batch_.data() + batchSent_, batch_.size() - batchSent_,
                   MSG_DONTWAIT | MSG_NOSIGNAL);
  } while (count < 0 && errno == EINTR);
  const int error = errno;
  lock.lock();
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
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return !attached_ || (queued_ > 0 && !sending_ && !failed_); });
    if (!attached_) return;
    sending_ = true;
    while (attached_ && !failed_ && queued_ > 0) {
      sendOnce(lock);
      if (!attached_ || failed_ || queued_ == 0) break;
      const int fd = fd_;
      const Clock::time_point deadline = lastProgress_ + kNoProgressTimeout;
      lock.unlock();
      const bool room = waitForRoom(fd, deadline);
      lock.lock();
      if (!room && Clock::now() >= lastProgress_ + kNoProgressTimeout) fail();
    }
    sending_ = false;
    changed_.notify_all();
  }
}

}  // namespace pentaro
