// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/headless_ui_thread.h"

#include <utility>

namespace pentaro {

HeadlessUiThread::HeadlessUiThread() {
  thread_ = std::thread([this] { loop(); });
  id_ = thread_.get_id();
}

HeadlessUiThread::~HeadlessUiThread() { stop(); }

bool HeadlessUiThread::isUiThread() const { return std::this_thread::get_id() == id_.load(); }

bool HeadlessUiThread::drain() {
  return invokeAndWait([] {});
}

void HeadlessUiThread::setIdleHandler(IdleHandler handler) {
  idleHandler_ = std::move(handler);
  idlePending_ = true;
  idleDue_ = kNoDeadline;
}

void HeadlessUiThread::stop() {
  shutDown();
  {
    MutexLock lock(mutex_);
    stopping_ = true;
  }
  queued_.notifyAll();
  if (thread_.joinable() && !isUiThread()) thread_.join();
}

void HeadlessUiThread::schedule(std::function<void()> task) {
  {
    MutexLock lock(mutex_);
    if (stopping_) return;
    tasks_.push_back(std::move(task));
  }
  queued_.notifyOne();
}

void HeadlessUiThread::loop() {
  for (;;) {
    std::function<void()> task;
    {
      MutexLock lock(mutex_);
      for (;;) {
        if (stopping_) return;
        if (!tasks_.empty()) break;
        // Queued work first: the idle handler sees the effect of all of it at once.
        if (idleHandler_ && (idlePending_ || Clock::now() >= idleDue_)) break;
        if (!idleHandler_ || idleDue_ == kNoDeadline) {
          queued_.wait(mutex_);
        } else {
          queued_.waitFor(mutex_, idleDue_ - Clock::now());
        }
      }
      if (!tasks_.empty()) {
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
    }
    if (task) {
      task();
      idlePending_ = true;
    } else {
      idlePending_ = false;
      idleDue_ = idleHandler_();
    }
  }
}

}  // namespace pentaro
