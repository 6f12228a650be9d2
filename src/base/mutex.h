// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A std::mutex that clang's thread-safety analysis understands (libstdc++'s own carries no
// annotations), its scoped lock, and a condition variable that waits on it. Not copyable.
#ifndef PENTARO_BASE_MUTEX_H_
#define PENTARO_BASE_MUTEX_H_

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "base/thread_annotations.h"

namespace pentaro {

class PENTARO_CAPABILITY("mutex") Mutex {
 public:
  Mutex() = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  void lock() PENTARO_ACQUIRE() { mutex_.lock(); }
  void unlock() PENTARO_RELEASE() { mutex_.unlock(); }
  bool try_lock() PENTARO_TRY_ACQUIRE(true) { return mutex_.try_lock(); }

 private:
  friend class CondVar;
  std::mutex mutex_;
};

class PENTARO_SCOPED_CAPABILITY MutexLock {
 public:
  explicit MutexLock(Mutex& mutex) PENTARO_ACQUIRE(mutex) : mutex_(mutex) { mutex_.lock(); }
  ~MutexLock() PENTARO_RELEASE() { mutex_.unlock(); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  Mutex& mutex_;
};

// A condition variable that waits on a Mutex: a wait releases it while blocked and holds it again
// when it returns, as the analysis assumes of a call that requires it.
class CondVar {
 public:
  CondVar() = default;
  CondVar(const CondVar&) = delete;
  CondVar& operator=(const CondVar&) = delete;

  void wait(Mutex& mutex) PENTARO_REQUIRES(mutex) {
    std::unique_lock<std::mutex> lock(mutex.mutex_, std::adopt_lock);
    condition_.wait(lock);
    lock.release();
  }
  // False when `timeout` passed without a notification.
  template <typename Rep, typename Period>
  bool waitFor(Mutex& mutex, std::chrono::duration<Rep, Period> timeout) PENTARO_REQUIRES(mutex) {
    std::unique_lock<std::mutex> lock(mutex.mutex_, std::adopt_lock);
    const bool notified = condition_.wait_for(lock, timeout) == std::cv_status::no_timeout;
    lock.release();
    return notified;
  }
  void notifyOne() { condition_.notify_one(); }
  void notifyAll() { condition_.notify_all(); }

 private:
  std::condition_variable condition_;
};

}  // namespace pentaro

#endif  // PENTARO_BASE_MUTEX_H_
