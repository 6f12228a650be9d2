#include "ui/headless_ui_thread.h"

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
      while (!stopping_ && tasks_.empty()) queued_.wait(mutex_);
      if (stopping_) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
  }
}

}  // namespace pentaro
