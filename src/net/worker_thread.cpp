#include "net/worker_thread.h"

#include <system_error>
#include <utility>

namespace pentaro {

WorkerThread::~WorkerThread() {
  std::thread thread;
  {
    MutexLock lock(mutex_);
    thread = std::move(thread_);
  }
  if (!thread.joinable()) return;
  // A worker that destroys its own object cannot join itself.
  if (thread.get_id() == std::this_thread::get_id()) {
    thread.detach();
  } else {
    thread.join();
  }
}

bool WorkerThread::start(std::function<void()> body) {
  MutexLock lock(mutex_);
  if (running_) return false;
  // The previous body has returned; its thread has nothing left to do but exit.
  if (thread_.joinable()) thread_.join();
  running_ = true;
  try {
    thread_ = std::thread([this, body = std::move(body)] { runAndMarkEnded(body); });
  } catch (const std::system_error&) {
    running_ = false;
    id_ = {};
    return false;
  }
  id_ = thread_.get_id();
  return true;
}

bool WorkerThread::running() const {
  MutexLock lock(mutex_);
  return running_;
}

void WorkerThread::waitUntilEnded() {
  MutexLock lock(mutex_);
  if (id_ == std::this_thread::get_id()) return;
  while (running_) ended_.wait(mutex_);
}

void WorkerThread::join() {
  MutexLock lock(mutex_);
  if (id_ == std::this_thread::get_id()) return;
  while (running_) ended_.wait(mutex_);
  // The body has returned and the thread touches nothing of this object any more, so joining
  // under the lock cannot deadlock.
  if (thread_.joinable()) thread_.join();
  id_ = {};
}

bool WorkerThread::isWorkerThread() const {
  MutexLock lock(mutex_);
  return id_ == std::this_thread::get_id();
}

void WorkerThread::runAndMarkEnded(const std::function<void()>& body) {
  body();
  MutexLock lock(mutex_);
  running_ = false;
  ended_.notifyAll();
}

}  // namespace pentaro
