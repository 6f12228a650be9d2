// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A UiThread without a window system: a thread of its own that runs queued functions in order.
// Front ends without a display (tests, the lobby host, the computer player) use it as their UI
// thread. An idle handler, if installed, runs on it each time the queue has run empty after work
// and again at the time it asks for, so a front end can react to what just happened or wake at a
// deadline without a thread of its own. `stop` shuts the UI down and joins the thread; the
// destructor stops it too.
#ifndef PENTARO_UI_HEADLESS_UI_THREAD_H_
#define PENTARO_UI_HEADLESS_UI_THREAD_H_

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <thread>

#include "base/mutex.h"
#include "ui/ui_thread.h"

namespace pentaro {

class HeadlessUiThread : public UiThread {
 public:
  using Clock = std::chrono::steady_clock;
  // What an idle handler returns when it has no deadline: it runs again after the next task.
  static constexpr Clock::time_point kNoDeadline = Clock::time_point::max();
  // Returns the time at which it wants to run again at the latest, or kNoDeadline.
  using IdleHandler = std::function<Clock::time_point()>;

  HeadlessUiThread();
  ~HeadlessUiThread() override;

  bool isUiThread() const override;

  // Returns once everything queued before the call has run (false after shut-down).
  bool drain();

  // Installs (or, with an empty function, removes) the idle handler. UI thread only; it first
  // runs once the task that installs it has returned.
  void setIdleHandler(IdleHandler handler);

  void stop();

 protected:
  void schedule(std::function<void()> task) override;

 private:
  void loop();

  Mutex mutex_;
  CondVar queued_;
  std::deque<std::function<void()>> tasks_ PENTARO_GUARDED_BY(mutex_);
  bool stopping_ PENTARO_GUARDED_BY(mutex_) = false;
  // The UI thread's alone: the handler, whether a task ran since it last ran, and its deadline.
  IdleHandler idleHandler_;
  bool idlePending_ = false;
  Clock::time_point idleDue_ = kNoDeadline;
  std::atomic<std::thread::id> id_;
  std::thread thread_;
};

}  // namespace pentaro

#endif  // PENTARO_UI_HEADLESS_UI_THREAD_H_
