// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/delayed_call.h"

namespace pentaro {

void DelayedCall::start(std::chrono::milliseconds pause, std::function<void()> fn) {
  cancel();
  {
    MutexLock lock(mutex_);
    cancelled_ = false;
  }
  const auto due = std::chrono::steady_clock::now() + pause;
  thread_ = std::thread([this, due, fn = std::move(fn)] {
    {
      MutexLock lock(mutex_);
      for (auto now = std::chrono::steady_clock::now(); !cancelled_ && now < due;
           now = std::chrono::steady_clock::now()) {
        wake_.waitFor(mutex_, due - now);
      }
      if (cancelled_) return;
    }
    fn();
  });
}

void DelayedCall::cancel() {
  {
    MutexLock lock(mutex_);
    cancelled_ = true;
  }
  wake_.notifyAll();
  if (thread_.joinable()) thread_.join();
}

}  // namespace pentaro
