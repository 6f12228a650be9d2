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
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  queued_.notify_all();
  if (thread_.joinable() && !isUiThread()) thread_.join();
}

void HeadlessUiThread::schedule(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    tasks_.push_back(std::move(task));
  }
  queued_.notify_one();
}

void HeadlessUiThread::loop() {
  for (;;) {
    std::function<void()> task;
    {
      std::unique_lock lock(mutex_);
      queued_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
      if (stopping_) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
  }
}

}  // namespace pentaro
