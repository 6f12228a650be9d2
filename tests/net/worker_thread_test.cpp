// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <future>
#include <memory>
#include <new>
#include <mutex>
#include <thread>
#include <vector>

#include "support/events.h"

namespace pentaro {
namespace {

using testing::finishesInTime;
using testing::kWait;

// An owner whose worker's body waits at a gate until the test opens it.
class GateWorker {
 public:
  ~GateWorker() {
    setOpen(true);
    join();
  }

  bool start() {
    return thread_.start([this] { run(); });
  }
  bool running() const { return thread_.running(); }
  void waitUntilEnded() { thread_.waitUntilEnded(); }
  void join() { thread_.join(); }
  bool isWorkerThread() const { return thread_.isWorkerThread(); }

  void setOpen(bool open) {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = open;
    changed_.notify_all();
  }
  bool waitForRuns(int runs) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, kWait, [&] { return runs_ >= runs; });
  }
  bool sawItselfAsWorker() const { return sawItselfAsWorker_; }

 private:
  void run() {
    // From the worker these must neither wait for itself nor deadlock.
    waitUntilEnded();
    join();
    sawItselfAsWorker_ = isWorkerThread();
    std::unique_lock<std::mutex> lock(mutex_);
    ++runs_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return open_; });
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;  // guarded by mutex_
  int runs_ = 0;       // guarded by mutex_
  std::atomic<bool> sawItselfAsWorker_{false};
  WorkerThread thread_;
};

TEST(NetWorkerThread, StartFailsWhileTheBodyRunsAndWorksAgainAfterIt) {
  GateWorker worker;
  EXPECT_FALSE(worker.running());
  ASSERT_TRUE(worker.start());
  ASSERT_TRUE(worker.waitForRuns(1));
  EXPECT_TRUE(worker.running());
  EXPECT_TRUE(worker.sawItselfAsWorker());
  EXPECT_FALSE(worker.isWorkerThread());
  EXPECT_FALSE(worker.start());

  worker.setOpen(true);
  worker.waitUntilEnded();
  EXPECT_FALSE(worker.running());

  // The finished thread was never joined; start() does that before the next body.
  worker.setOpen(false);
  ASSERT_TRUE(worker.start());
  ASSERT_TRUE(worker.waitForRuns(2));
  worker.setOpen(true);
  worker.join();
  EXPECT_FALSE(worker.running());
  worker.join();  // a second join has nothing to do
}

TEST(NetWorkerThread, SeveralThreadsWaitForTheEnd) {
  GateWorker worker;
  ASSERT_TRUE(worker.start());
  ASSERT_TRUE(worker.waitForRuns(1));
  std::vector<std::future<void>> waiters;
  for (int i = 0; i < 3; ++i) {
    waiters.push_back(std::async(std::launch::async, [&] { worker.waitUntilEnded(); }));
  }
  worker.setOpen(true);
  for (auto& waiter : waiters) EXPECT_EQ(waiter.wait_for(kWait), std::future_status::ready);
  EXPECT_FALSE(worker.running());
}

TEST(NetWorkerThread, DestroyingARunningWorkerReturns) {
  EXPECT_TRUE(finishesInTime([] {
    GateWorker worker;
    ASSERT_TRUE(worker.start());
    ASSERT_TRUE(worker.waitForRuns(1));
  }));
  // Never started: nothing to join.
  EXPECT_TRUE(finishesInTime([] { GateWorker idle; }));
}

// Threads of this process, from /proc.
int threadCount() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                                        std::filesystem::directory_iterator()));
}

// A worker whose body destroys the object that owns it: the thread is detached and must touch
// nothing of the freed object afterwards. The body scribbles over the object's memory, so a
// thread that still used it would crash or hang on a garbage mutex instead of ending.
TEST(NetWorkerThread, ABodyMayDestroyItsOwnOwner) {
  // A first thread, so that a runtime's own helper thread (ThreadSanitizer starts one) is
  // counted in `before`.
  std::thread([] {}).join();
  const int before = threadCount();
  for (int round = 0; round < 5; ++round) {
    alignas(WorkerThread) unsigned char storage[sizeof(WorkerThread)];
    WorkerThread* owner = new (storage) WorkerThread;
    std::promise<void> destroyed;
    ASSERT_TRUE(owner->start([&] {
      owner->~WorkerThread();
      std::memset(storage, 0xA5, sizeof storage);
      destroyed.set_value();
    }));
    ASSERT_EQ(destroyed.get_future().wait_for(kWait), std::future_status::ready);
  }
  // Every detached thread ends by itself.
  const auto deadline = std::chrono::steady_clock::now() + kWait;
  while (threadCount() > before && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(threadCount(), before);
}

}  // namespace
}  // namespace pentaro
