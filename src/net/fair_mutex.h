// A mutex that admits waiting threads in the order they came (a ticket lock on a condition
// variable): a thread that unlocks and at once locks again queues behind the others instead of
// barging in, so one busy connection's worker cannot keep the other workers out. Any thread.
#ifndef PENTARO_NET_FAIR_MUTEX_H_
#define PENTARO_NET_FAIR_MUTEX_H_

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace pentaro {

class FairMutex {
 public:
  FairMutex() = default;
  FairMutex(const FairMutex&) = delete;
  FairMutex& operator=(const FairMutex&) = delete;

  void lock();
  void unlock();

 private:
  std::mutex mutex_;
  std::condition_variable turnChanged_;
  std::uint64_t nextTicket_ = 0;  // guarded by mutex_
  std::uint64_t serving_ = 0;     // guarded by mutex_
};

}  // namespace pentaro

#endif  // PENTARO_NET_FAIR_MUTEX_H_
