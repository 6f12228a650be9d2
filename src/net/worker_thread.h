// One worker thread, held as a member by the object whose work it runs; start(body) runs `body`
// on a new thread. A worker is stopped by waking its blocking call (the owner shuts its socket
// down) and then joined, never killed. The owner declares it as its last member, so that it is
// destroyed, and its thread joined, before any member the body uses goes away.
#ifndef PENTARO_NET_WORKER_THREAD_H_
#define PENTARO_NET_WORKER_THREAD_H_

#include <functional>
#include <thread>

#include "base/mutex.h"
#include "base/thread_annotations.h"

namespace pentaro {

class WorkerThread {
 public:
  WorkerThread() = default;
  // Joins a worker that has not been joined yet; its owner has woken it by then. A worker that
  // destroys its own owner is detached instead.
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts a worker that runs `body`; false while the previous one is still running. A previous
  // worker whose body has returned is joined first.
  bool start(std::function<void()> body);
  // True from start() until the body has returned.
  bool running() const;
  // Waits until the body has returned; any number of threads may wait. From the worker itself
  // it returns at once.
  void waitUntilEnded();
  // Waits, then releases the thread. From the worker itself it does nothing.
  void join();
  // The caller is the worker whose body runs (or last ran) on this object.
  bool isWorkerThread() const;

 private:
  void runAndMarkEnded(const std::function<void()>& body);

  mutable Mutex mutex_;
  CondVar ended_;
  bool running_ PENTARO_GUARDED_BY(mutex_) = false;
  std::thread thread_ PENTARO_GUARDED_BY(mutex_);
  std::thread::id id_ PENTARO_GUARDED_BY(mutex_);
};

}  // namespace pentaro

#endif  // PENTARO_NET_WORKER_THREAD_H_
