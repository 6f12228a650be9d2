// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A function run once, on a thread of its own, after a pause, unless cancelled first: the timer
// behind the client's reconnection pauses, where the UI thread may not wait. The function should
// only hand work on (post it to the UI thread); it must not call back into this object. Start and
// cancel from one owning thread; the destructor cancels and joins.
#ifndef PENTARO_NET_DELAYED_CALL_H_
#define PENTARO_NET_DELAYED_CALL_H_

#include <chrono>
#include <functional>
#include <thread>

#include "base/mutex.h"
#include "base/thread_annotations.h"

namespace pentaro {

class DelayedCall {
 public:
  DelayedCall() = default;
  ~DelayedCall() { cancel(); }
  DelayedCall(const DelayedCall&) = delete;
  DelayedCall& operator=(const DelayedCall&) = delete;

  // Cancels a pending call, then runs `fn` after `pause`.
  void start(std::chrono::milliseconds pause, std::function<void()> fn);
  // A pending call does not run; returns once its thread has ended.
  void cancel();

 private:
  Mutex mutex_;
  CondVar wake_;
  bool cancelled_ PENTARO_GUARDED_BY(mutex_) = false;
  std::thread thread_;  // the owner's
};

}  // namespace pentaro

#endif  // PENTARO_NET_DELAYED_CALL_H_
