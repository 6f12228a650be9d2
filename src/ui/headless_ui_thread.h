// A UiThread without a window system: a thread of its own that runs queued functions in order.
// Front ends without a display (tests, the lobby host) use it as their UI thread. `stop` shuts
// the UI down and joins the thread; the destructor stops it too.
#ifndef PENTARO_UI_HEADLESS_UI_THREAD_H_
#define PENTARO_UI_HEADLESS_UI_THREAD_H_

#include <atomic>
#include <deque>
#include <functional>
#include <thread>

#include "base/mutex.h"
#include "ui/ui_thread.h"

namespace pentaro {

class HeadlessUiThread : public UiThread {
 public:
  HeadlessUiThread();
  ~HeadlessUiThread() override;

  bool isUiThread() const override;

  // Returns once everything queued before the call has run (false after shut-down).
  bool drain();

  void stop();

 protected:
  void schedule(std::function<void()> task) override;

 private:
  void loop();

  Mutex mutex_;
  CondVar queued_;
  std::deque<std::function<void()>> tasks_ PENTARO_GUARDED_BY(mutex_);
  bool stopping_ PENTARO_GUARDED_BY(mutex_) = false;
  std::atomic<std::thread::id> id_;
  std::thread thread_;
};

}  // namespace pentaro

#endif  // PENTARO_UI_HEADLESS_UI_THREAD_H_
