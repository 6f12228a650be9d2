// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ui_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "ui/headless_ui_thread.h"

namespace pentaro {
namespace {

using namespace std::chrono_literals;

TEST(UiThreadHeadless, InvokeAndWaitRunsOnTheUiThreadAndWaits) {
  HeadlessUiThread ui;
  EXPECT_FALSE(ui.isUiThread());
  bool onUiThread = false;
  int value = 0;
  EXPECT_TRUE(ui.invokeAndWait([&] {
    std::this_thread::sleep_for(20ms);
    onUiThread = ui.isUiThread();
    value = 42;
  }));
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(onUiThread);

  // On the UI thread itself the call runs inline (waiting for the queue would never end).
  std::vector<int> order;
  ui.invokeAndWait([&] {
    order.push_back(1);
    EXPECT_TRUE(ui.invokeAndWait([&] { order.push_back(2); }));
    order.push_back(3);
  });
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(UiThreadHeadless, PostedFunctionsRunInOrder) {
  HeadlessUiThread ui;
  std::vector<int> order, expected;
  for (int i = 0; i < 100; ++i) {
    ui.post([&order, i] { order.push_back(i); });
    expected.push_back(i);
  }
  ui.invokeAndWait([&] { order.push_back(100); });
  expected.push_back(100);
  EXPECT_EQ(order, expected);
}

TEST(UiThreadHeadless, NothingRunsAfterShutDown) {
  HeadlessUiThread stopped;
  stopped.stop();
  bool ran = false;
  EXPECT_FALSE(stopped.invokeAndWait([&] { ran = true; }));
  stopped.post([&] { ran = true; });
  EXPECT_FALSE(stopped.drain());
  stopped.stop();
  EXPECT_FALSE(ran);

  // Shut down from the UI thread: not even there does a call run any more.
  HeadlessUiThread ui;
  bool nested = true;
  ui.invokeAndWait([&] {
    ui.shutDown();
    nested = ui.invokeAndWait([&] { ran = true; });
  });
  ui.post([&] { ran = true; });
  ui.stop();
  EXPECT_FALSE(nested);
  EXPECT_FALSE(ran);
}

// The UI thread is busy; a worker waits in invokeAndWait and a function is posted; the UI shuts
// down. The worker is released with false, and neither function runs when the UI thread is free.
TEST(UiThreadHeadless, WaitingCallerIsReleasedByShutDown) {
  HeadlessUiThread ui;
  std::promise<void> busy, release;
  std::shared_future<void> released = release.get_future().share();
  ui.post([&busy, released] {
    busy.set_value();
    released.wait();
  });
  busy.get_future().wait();

  std::atomic<bool> ran{false};
  std::atomic<int> result{-1};
  ui.post([&] { ran = true; });
  std::thread worker([&] { result = ui.invokeAndWait([&] { ran = true; }); });
  std::this_thread::sleep_for(50ms);  // let the worker reach its wait
  EXPECT_EQ(result, -1);
  ui.shutDown();
  worker.join();
  EXPECT_EQ(result, 0);
  release.set_value();
  ui.stop();
  EXPECT_FALSE(ran);
}

// A call the UI thread has begun is waited for: its caller must not go on while the UI thread
// still works with the caller's data.
TEST(UiThreadHeadless, CallInProgressIsWaitedForAtShutDown) {
  HeadlessUiThread ui;
  std::promise<void> started, release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<int> result{-1};
  std::thread worker([&] {
    result = ui.invokeAndWait([&started, released] {
      started.set_value();
      released.wait();
    });
  });
  started.get_future().wait();
  ui.shutDown();
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(result, -1);
  release.set_value();
  worker.join();
  EXPECT_EQ(result, 1);
}

// The idle handler is a front end's only clock: it must run once after the work queued so far
// (seeing all of it), at the deadline it asks for, and never while nothing happens.
TEST(UiThreadHeadless, IdleHandlerRunsAfterQueuedWorkAndAtItsDeadlineOnly) {
  HeadlessUiThread ui;
  std::atomic<int> done{0}, runs{0}, between{0}, lastSeen{-1};
  bool armed = false;  // the UI thread's, as is the next
  bool deadlineAsked = false;
  std::promise<void> ranAtDeadline;
  ui.invokeAndWait([&] {
    ui.setIdleHandler([&] {
      ++runs;
      const int seen = done;
      if (seen > 0 && seen < 50) ++between;
      lastSeen = seen;
      if (armed) {
        armed = false;
        deadlineAsked = true;
        return HeadlessUiThread::Clock::now() + 10ms;
      }
      if (deadlineAsked) {
        deadlineAsked = false;
        ranAtDeadline.set_value();
      }
      return HeadlessUiThread::kNoDeadline;
    });
  });
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  ui.post([released] { released.wait(); });
  for (int i = 0; i < 50; ++i) ui.post([&] { ++done; });
  release.set_value();
  for (int i = 0; i < 500 && lastSeen != 50; ++i) std::this_thread::sleep_for(10ms);
  ASSERT_EQ(lastSeen, 50);
  EXPECT_EQ(between, 0);  // after the tasks queued together, not between them
  const int settled = runs;
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(runs, settled);  // nothing happened, so it did not run

  // A deadline asked for after a task: one more run with no task at all.
  ui.invokeAndWait([&] { armed = true; });
  EXPECT_EQ(ranAtDeadline.get_future().wait_for(5s), std::future_status::ready);
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(runs, settled + 2);
  ui.stop();
}

// A window system may still deliver work that was queued before the UI shut down.
class LateDeliveringUiThread : public UiThread {
 public:
  bool isUiThread() const override { return false; }

 protected:
  void schedule(std::function<void()> task) override {
    shutDown();
    task();
  }
};

TEST(UiThreadBase, WorkTakenUpAfterShutDownDoesNotRun) {
  LateDeliveringUiThread ui;
  bool ran = false;
  EXPECT_FALSE(ui.invokeAndWait([&] { ran = true; }));
  LateDeliveringUiThread other;
  other.post([&] { ran = true; });
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace pentaro
