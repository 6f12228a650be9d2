#include "net/connection_slot.h"

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
  owner_.onConnected(index_);
  char line[kLineBufferBytes];
  while (socket_.readLine(line, kLineLimit) != StreamSocket::kNoLine && socket_.hasHandle()) {
    owner_.onLineReceived(index_, line);
  }
  socket_.close();
  owner_.onClosed(index_);
}

}  // namespace pentaro
