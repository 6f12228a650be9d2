// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A mutex that admits waiting threads in the order they came: unlock hands the mutex straight to
// the longest waiter and wakes only that one. A thread that unlocks and at once locks again thus
// queues behind the others instead of barging in, so one busy connection's worker cannot keep the
// other workers out. A capability for clang's lock checks; FairMutexLock holds it for a scope.
// Any thread.
#ifndef PENTARO_NET_FAIR_MUTEX_H_
#define PENTARO_NET_FAIR_MUTEX_H_

#include "base/mutex.h"
#include "base/thread_annotations.h"

namespace pentaro {

class PENTARO_CAPABILITY("mutex") FairMutex {
 public:
  FairMutex() = default;
  FairMutex(const FairMutex&) = delete;
  FairMutex& operator=(const FairMutex&) = delete;

  void lock() PENTARO_ACQUIRE() PENTARO_EXCLUDES(mutex_);
  void unlock() PENTARO_RELEASE() PENTARO_EXCLUDES(mutex_);

 private:
  // One waiting thread; lives on that thread's stack while it waits. Its fields are guarded by
  // the FairMutex's mutex_, which the analysis cannot name from inside this struct.
  struct Waiter {
    CondVar handedOver;
    bool owns = false;
    Waiter* next = nullptr;
  };

  Mutex mutex_;
  bool locked_ PENTARO_GUARDED_BY(mutex_) = false;
  Waiter* first_ PENTARO_GUARDED_BY(mutex_) = nullptr;  // the queue of waiters, oldest first
  Waiter* last_ PENTARO_GUARDED_BY(mutex_) = nullptr;
};

// Holds a FairMutex from construction to destruction.
class PENTARO_SCOPED_CAPABILITY FairMutexLock {
 public:
  explicit FairMutexLock(FairMutex& mutex) PENTARO_ACQUIRE(mutex) : mutex_(mutex) { mutex_.lock(); }
  ~FairMutexLock() PENTARO_RELEASE() { mutex_.unlock(); }
  FairMutexLock(const FairMutexLock&) = delete;
  FairMutexLock& operator=(const FairMutexLock&) = delete;

 private:
  FairMutex& mutex_;
};

}  // namespace pentaro

#endif  // PENTARO_NET_FAIR_MUTEX_H_
