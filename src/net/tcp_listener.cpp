// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/tcp_listener.h"

namespace pentaro {

TcpListener::TcpListener(Handler& handler) : handler_(handler) {}

TcpListener::~TcpListener() { stop(); }

bool TcpListener::createSlots(int count) {
  MutexLock lock(listenMutex_);
  if (count < 0 || running()) return false;
  // With the accept worker ended, every slot worker has ended too.
  slots_.clear();
  slots_.reserve(static_cast<size_t>(count));
  for (int index = 0; index < count; ++index) {
    slots_.push_back(std::make_unique<ConnectionSlot>(index, *this));
  }
  return true;
}

bool TcpListener::startListening(int port, int backlog) {
  MutexLock lock(listenMutex_);
  if (slots_.empty() || running() || listening_.hasHandle()) return false;
  if (!listening_.makeSocket()) return false;
  // A bind or listen failure is reported through the accept worker, which then ends at once.
  listenError_ = listening_.bindAndListen(port, backlog);
  if (!acceptWorker_.start([this] { run(); })) {
    listening_.close();
    return false;
  }
  return true;
}

int TcpListener::listenError() const { return listenError_.load(); }

void TcpListener::setLineRate(double perSecond, double burst, double backlogSeconds) {
  lineRate_ = perSecond;
  lineBurst_ = burst;
  backlogSeconds_ = backlogSeconds;
}

void TcpListener::queueTo(int index, std::string_view text) {
  if (index < 0 || index >= slotCount()) return;
  slots_[static_cast<size_t>(index)]->socket().queueLine(text);
}

void TcpListener::flushQueued() {
  for (auto& slot : slots_) slot->socket().flush();
}

void TcpListener::closeSlot(int index) {
  if (index < 0 || index >= slotCount()) return;
  // The slot's worker closes the descriptor once its read or its wait has woken up.
  slots_[static_cast<size_t>(index)]->close();
}

void TcpListener::closeAll() {
  for (int index = 0; index < slotCount(); ++index) closeSlot(index);
  MutexLock lock(listenMutex_);
  listening_.shutdown();
}

void TcpListener::stop() {
  closeAll();
  if (calledFromWorker()) return;  // the worker would wait for itself
  acceptWorker_.join();
  for (auto& slot : slots_) slot->join();
  listening_.close();
}

void TcpListener::run() {
  handler_.onListenStarted();
  if (listenError_.load() == 0) {
    StreamSocket spare;
    while (listening_.acceptInto(spare)) {
      ConnectionSlot* slot = firstFreeSlot();
      if (slot == nullptr) slot = slotOfAGonePeer();
      if (slot == nullptr) {
        handler_.onRefused(spare);
        spare.close();  // the peer sees its connection end at once
        continue;
      }
      slot->socket().takeOver(spare);
      // A slot whose worker cannot start is closed rather than left unread.
      if (!slot->start()) slot->socket().close();
    }
  }
  // A connection taken just before the listening socket was shut down is ended here as well.
  closeAll();
  for (auto& slot : slots_) slot->join();
  listening_.close();
  handler_.onListenEnded();
}

ConnectionSlot* TcpListener::firstFreeSlot() {
  for (auto& slot : slots_) {
    if (slot->isFree()) return slot.get();
  }
  return nullptr;
}

ConnectionSlot* TcpListener::slotOfAGonePeer() {
  for (auto& slot : slots_) {
    // Closed by its worker, which only has its departure left to run: a matter of moments.
    if (!slot->socket().hasHandle()) {
      slot->join();
      return slot.get();
    }
  }
  return nullptr;
}

bool TcpListener::calledFromWorker() const {
  if (acceptWorker_.isWorkerThread()) return true;
  for (const auto& slot : slots_) {
    if (slot->isWorkerThread()) return true;
  }
  return false;
}

}  // namespace pentaro
