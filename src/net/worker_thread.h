// The base of every object that owns one worker thread; `run` is the thread's body. A worker is
// stopped by waking its blocking call (the owner shuts its socket down) and then joined, never
// killed. A derived class joins in its own destructor, before its members go away.
#ifndef PENTARO_NET_WORKER_THREAD_H_
#define PENTARO_NET_WORKER_THREAD_H_

#include <condition_variable>
#include <mutex>
#include <thread>

namespace pentaro {

class WorkerThread {
 public:
  WorkerThread() = default;
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts a worker; false while the previous one is still running. A previous worker whose body
  // has returned is joined first.
  bool start();
  // True from start() until the body has returned.
  bool running() const;
  // Waits until the body has returned; any number of threads may wait. From the worker itself
  // it returns at once.
  void waitUntilEnded();
  // Waits, then releases the thread. From the worker itself it does nothing.
  void join();
  // The caller is the worker whose body runs (or last ran) on this object.
  bool isWorkerThread() const;

 protected:
  // Joins a worker that has not been joined yet; the derived class has stopped it by then.
  virtual ~WorkerThread();
  virtual void run() = 0;

 private:
  void runAndMarkEnded();

  mutable std::mutex mutex_;
  std::condition_variable ended_;
  bool running_ = false;  // guarded by mutex_
  std::thread thread_;    // guarded by mutex_
  std::thread::id id_;    // guarded by mutex_
};

}  // namespace pentaro

#endif  // PENTARO_NET_WORKER_THREAD_H_
