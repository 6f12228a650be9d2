#include "net/connection_slot.h"

#include <functional>

#include "net/tcp_listener.h"

namespace pentaro {

static_assert(ConnectionSlot::kLineLimit < ConnectionSlot::kLineBufferBytes);

ConnectionSlot::ConnectionSlot(int index, TcpListener& owner) : index_(index), owner_(owner) {}

ConnectionSlot::~ConnectionSlot() {
  socket_.shutdown();
  join();
}

bool ConnectionSlot::isFree() const {
  // The worker closes the socket before its onClosed, so a slot without a handle may still be
  // running that callback.
  return !running() && !socket_.hasHandle();
}

void ConnectionSlot::run() {
  // What the callbacks queue goes out before this worker waits again: after the welcome, once
  // the lines of a received chunk are handled, and after the departure.
  const std::function<void()> flush = [this] { owner_.flushQueued(); };
  owner_.onConnected(index_);
  flush();
  char line[kLineBufferBytes];
  while (socket_.readLine(line, kLineLimit, flush) != StreamSocket::kNoLine &&
         socket_.hasHandle()) {
    owner_.onLineReceived(index_, line);
  }
  socket_.close();
  owner_.onClosed(index_);
  flush();
}

}  // namespace pentaro
