// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/fair_mutex.h"

namespace pentaro {

void FairMutex::lock() {
  MutexLock lock(mutex_);
  if (!locked_) {
    locked_ = true;
    return;
  }
  Waiter self;
  (last_ != nullptr ? last_->next : first_) = &self;
  last_ = &self;
  while (!self.owns) self.handedOver.wait(mutex_);
}

void FairMutex::unlock() {
  MutexLock lock(mutex_);
  Waiter* next = first_;
  if (next == nullptr) {
    locked_ = false;
    return;
  }
  first_ = next->next;
  if (first_ == nullptr) last_ = nullptr;
  // The mutex stays locked: it passes to the oldest waiter, which cannot return from its wait
  // (and take its Waiter off the stack) before this lock is released.
  next->owns = true;
  next->handedOver.notifyOne();
}

}  // namespace pentaro
