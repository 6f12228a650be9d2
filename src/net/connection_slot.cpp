// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/connection_slot.h"

#include <cstring>
#include <functional>

#include "net/tcp_listener.h"

namespace pentaro {

namespace {
// CR LF, as peers end their lines.
constexpr int kTerminatorBytes = 2;
// The backlog estimate's mean line length follows about this many recent lines, so a sender
// cannot make its flood look short by a few long lines first.
constexpr double kMeanLines = 64;
}  // namespace

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

bool ConnectionSlot::backlogTooLong(double meanLineBytes) const {
  const double limitSeconds = owner_.backlogSeconds();
  if (limitSeconds <= 0 || meanLineBytes <= 0) return false;
  const double waitingLines = static_cast<double>(socket_.waitingBytes()) / meanLineBytes;
  return waitingLines > limitSeconds * owner_.lineRate();
}

void ConnectionSlot::run() {
  // What the callbacks queue goes out before this worker waits again: after the welcome, once
  // the lines of a received chunk are handled, and after the departure.
  const std::function<void()> flush = [this] { owner_.flushQueued(); };
  TcpListener::Handler& handler = owner_.handler_;
  handler.onConnected(index_);
  flush();
  pacing_ = TokenBucket();  // a new connection starts with a full burst
  // For the backlog estimate: the recent lines' mean length, terminator included.
  double meanLineBytes = 0;
  char line[kLineBufferBytes];
  while (socket_.readLine(line, kLineLimit, flush) != StreamSocket::kNoLine &&
         socket_.hasHandle()) {
    const double lineBytes = static_cast<double>(std::strlen(line) + kTerminatorBytes);
    meanLineBytes = meanLineBytes == 0 ? lineBytes
                                       : meanLineBytes + (lineBytes - meanLineBytes) / kMeanLines;
    const auto wait =
        pacing_.take(TokenBucket::Clock::now(), owner_.lineRate(), owner_.lineBurst());
    if (wait > TokenBucket::Clock::duration::zero()) {
      // Only a paced connection can build a backlog, so only then is it measured.
      if (backlogTooLong(meanLineBytes)) {
        handler.onFlooded(index_);
        break;
      }
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
