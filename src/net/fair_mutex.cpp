#include "net/fair_mutex.h"

namespace pentaro {

void FairMutex::lock() {
  std::unique_lock lock(mutex_);
  if (!locked_) {
    locked_ = true;
    return;
  }
  Waiter self;
  (last_ != nullptr ? last_->next : first_) = &self;
  last_ = &self;
  self.handedOver.wait(lock, [&] { return self.owns; });
}

void FairMutex::unlock() {
  std::lock_guard lock(mutex_);
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
  next->handedOver.notify_one();
}

}  // namespace pentaro
