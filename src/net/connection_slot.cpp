#include "net/connection_slot.h"

#include <functional>

#include "net/tcp_listener.h"

namespace pentaro {

static_assert(ConnectionSlot::kLineLimit < ConnectionSlot::kLineBufferBytes);

ConnectionSlot::ConnectionSlot(int index, TcpListener& owner) : index_(index), owner_(owner) {}

ConnectionSlot::~ConnectionSlot() { close(); }

void ConnectionSlot::close() {
  socket_.shutdown();
  MutexLock lock(pauseMutex_);
  closed_.notifyAll();
}

bool ConnectionSlot::pause(TokenBucket::Clock::duration duration) {
  const auto deadline = TokenBucket::Clock::now() + duration;
  MutexLock lock(pauseMutex_);
  while (socket_.isConnected()) {
    const auto left = deadline - TokenBucket::Clock::now();
    if (left <= TokenBucket::Clock::duration::zero()) return true;
    closed_.waitFor(pauseMutex_, left);
  }
  return false;
}

bool ConnectionSlot::isFree() const {
  // The worker closes the socket before its onClosed, so a slot without a handle may still be
  // running that callback.
  return !worker_.running() && !socket_.hasHandle();
}

void ConnectionSlot::run() {
  // What the callbacks queue goes out before this worker waits again: after the welcome, once
  // the lines of a received chunk are handled, and after the departure.
  const std::function<void()> flush = [this] { owner_.flushQueued(); };
  TcpListener::Handler& handler = owner_.handler_;
  handler.onConnected(index_);
  flush();
  pacing_ = TokenBucket();  // a new connection starts with a full burst
  char line[kLineBufferBytes];
  while (socket_.readLine(line, kLineLimit, flush) != StreamSocket::kNoLine &&
         socket_.hasHandle()) {
    const auto wait =
        pacing_.take(TokenBucket::Clock::now(), owner_.lineRate(), owner_.lineBurst());
    if (wait > TokenBucket::Clock::duration::zero()) {
      flush();  // what the lines before this one made goes out before the wait
      if (!pause(wait)) break;
    }
    handler.onLineReceived(index_, line);
  }
  socket_.close();
  handler.onClosed(index_);
  flush();
}

}  // namespace pentaro
