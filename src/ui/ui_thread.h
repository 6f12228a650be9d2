// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The thread that owns the window and the client side of the game. Other threads hand work to it:
// `invokeAndWait` runs a function there and waits for it, `post` queues one without waiting.
// After `shutDown` nothing queued runs any more and `invokeAndWait` returns false at once, so a
// worker never waits for a UI that is gone. All operations are safe from any thread.
#ifndef PENTARO_UI_UI_THREAD_H_
#define PENTARO_UI_UI_THREAD_H_

#include <functional>
#include <memory>

#include "base/mutex.h"

namespace pentaro {

class UiThread {
 public:
  UiThread() = default;
  UiThread(const UiThread&) = delete;
  UiThread& operator=(const UiThread&) = delete;
  virtual ~UiThread() = default;

  // Runs `fn` on the UI thread and returns once it has run (at once, inline, when called on the
  // UI thread). Returns false, without running `fn`, once the UI has shut down.
  bool invokeAndWait(std::function<void()> fn);

  // Queues `fn` to run later on the UI thread. Dropped once the UI has shut down.
  void post(std::function<void()> fn);

  // From now on nothing more runs; waiting callers are released with false. Idempotent.
  void shutDown();
  bool isShutDown() const;

  virtual bool isUiThread() const = 0;

 protected:
  // Arranges for `task` to be called once on the UI thread. Implementations may drop it after
  // the UI has shut down.
  virtual void schedule(std::function<void()> task) = 0;

 private:
  struct Call;
  mutable Mutex mutex_;
  CondVar callsChanged_;  // a call finished, or the UI shut down
  bool shutDown_ PENTARO_GUARDED_BY(mutex_) = false;
};

}  // namespace pentaro

#endif  // PENTARO_UI_UI_THREAD_H_
