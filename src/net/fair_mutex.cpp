#include "net/fair_mutex.h"

namespace pentaro {

void FairMutex::lock() {
  std::unique_lock lock(mutex_);
  const std::uint64_t ticket = nextTicket_++;
  turnChanged_.wait(lock, [&] { return serving_ == ticket; });
}

void FairMutex::unlock() {
  std::lock_guard lock(mutex_);
  ++serving_;
  turnChanged_.notify_all();
}

}  // namespace pentaro
