// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ui_thread.h"

namespace pentaro {

// One invokeAndWait in flight. A call that has not begun when the UI shuts down is cancelled and
// never runs; one that has begun is waited for.
struct UiThread::Call {
  enum class State { kPending, kRunning, kDone, kCancelled };
  State state = State::kPending;  // guarded by UiThread::mutex_
  std::function<void()> fn;
};

bool UiThread::invokeAndWait(std::function<void()> fn) {
  if (isShutDown()) return false;
  if (isUiThread()) {
    fn();
    return true;
  }
  auto call = std::make_shared<Call>();
  call->fn = std::move(fn);
  schedule([this, call] {
    {
      MutexLock lock(mutex_);
      // Taken up after the shut-down: the waiting caller is released with false instead.
      if (call->state != Call::State::kPending || shutDown_) return;
      call->state = Call::State::kRunning;
    }
    call->fn();
    {
      MutexLock lock(mutex_);
      call->state = Call::State::kDone;
    }
    callsChanged_.notifyAll();
  });

  MutexLock lock(mutex_);
  for (;;) {
    if (call->state == Call::State::kDone) return true;
    if (call->state == Call::State::kPending && shutDown_) {
      call->state = Call::State::kCancelled;
      return false;
    }
    callsChanged_.wait(mutex_);
  }
}

void UiThread::post(std::function<void()> fn) {
  if (isShutDown()) return;
  schedule([this, fn = std::move(fn)] {
    if (!isShutDown()) fn();
  });
}

void UiThread::shutDown() {
  {
    MutexLock lock(mutex_);
    shutDown_ = true;
  }
  callsChanged_.notifyAll();
}

bool UiThread::isShutDown() const {
  MutexLock lock(mutex_);
  return shutDown_;
}

}  // namespace pentaro
