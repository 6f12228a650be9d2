// A mutex that admits waiting threads in the order they came: unlock hands the mutex straight to
// the longest waiter and wakes only that one. A thread that unlocks and at once locks again thus
// queues behind the others instead of barging in, so one busy connection's worker cannot keep the
// other workers out. Any thread.
#ifndef PENTARO_NET_FAIR_MUTEX_H_
#define PENTARO_NET_FAIR_MUTEX_H_

#include <condition_variable>
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
  // One waiting thread; lives on that thread's stack while it waits.
  struct Waiter {
    std::condition_variable handedOver;
    bool owns = false;       // guarded by mutex_
    Waiter* next = nullptr;  // guarded by mutex_
  };

  std::mutex mutex_;
  bool locked_ = false;      // guarded by mutex_
  Waiter* first_ = nullptr;  // guarded by mutex_: the queue of waiters, oldest first
  Waiter* last_ = nullptr;   // guarded by mutex_
};

}  // namespace pentaro

#endif  // PENTARO_NET_FAIR_MUTEX_H_
