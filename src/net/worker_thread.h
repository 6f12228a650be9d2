// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One worker thread, held as a member by the object whose work it runs; start(body) runs `body`
// on a new thread. A worker is stopped by waking its blocking call (the owner shuts its socket
// down) and then joined, never killed. The owner declares it as its last member, so that it is
// destroyed, and its thread joined, before any member the body uses goes away.
#ifndef PENTARO_NET_WORKER_THREAD_H_
#define PENTARO_NET_WORKER_THREAD_H_

#include <functional>
#include <memory>
#include <thread>

#include "base/mutex.h"
#include "base/thread_annotations.h"

namespace pentaro {

class WorkerThread {
 public:
  WorkerThread();
  // Joins a worker that has not been joined yet; its owner has woken it by then. A worker whose
  // body destroys its own owner is detached instead: what the thread still touches after its
  // body lives on without the object, so nothing it reads has been freed.
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
  // What the thread marks when its body has returned. Shared with the thread, so that a body
  // that destroys this object leaves the thread something valid to mark.
  struct State {
    Mutex mutex;
    CondVar ended;
    bool running PENTARO_GUARDED_BY(mutex) = false;
    std::thread thread PENTARO_GUARDED_BY(mutex);
    std::thread::id id PENTARO_GUARDED_BY(mutex);
  };
  static void runAndMarkEnded(const std::shared_ptr<State>& state,
                              const std::function<void()>& body);

  const std::shared_ptr<State> state_;
};

}  // namespace pentaro

#endif  // PENTARO_NET_WORKER_THREAD_H_
