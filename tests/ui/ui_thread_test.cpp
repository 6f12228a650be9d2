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
  std::thread::id ranOn;
  int value = 0;
  EXPECT_TRUE(ui.invokeAndWait([&] {
    std::this_thread::sleep_for(20ms);
    onUiThread = ui.isUiThread();
    ranOn = std::this_thread::get_id();
    value = 42;
  }));
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(onUiThread);
  EXPECT_NE(ranOn, std::this_thread::get_id());
}

TEST(UiThreadHeadless, InvokeAndWaitOnTheUiThreadRunsInline) {
  HeadlessUiThread ui;
  std::vector<int> order;
  bool innerResult = false;
  EXPECT_TRUE(ui.invokeAndWait([&] {
    order.push_back(1);
    innerResult = ui.invokeAndWait([&] { order.push_back(2); });
    order.push_back(3);
  }));
  EXPECT_TRUE(innerResult);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(UiThreadHeadless, PostedFunctionsRunInOrder) {
  HeadlessUiThread ui;
  std::vector<int> order;
  for (int i = 0; i < 100; ++i) ui.post([&order, i] { order.push_back(i); });
  ui.invokeAndWait([&] { order.push_back(100); });
  std::vector<int> expected;
  for (int i = 0; i <= 100; ++i) expected.push_back(i);
  EXPECT_EQ(order, expected);
}

TEST(UiThreadHeadless, NothingRunsOnceStopped) {
  HeadlessUiThread ui;
  ui.stop();
  bool ran = false;
  EXPECT_TRUE(ui.isShutDown());
  EXPECT_FALSE(ui.invokeAndWait([&] { ran = true; }));
  ui.post([&] { ran = true; });
  EXPECT_FALSE(ui.drain());
  EXPECT_FALSE(ran);
  ui.stop();  // idempotent
}

TEST(UiThreadHeadless, NothingRunsAfterShutDownEvenOnTheUiThread) {
  HeadlessUiThread ui;
  bool nestedResult = true, nestedRan = false;
  std::atomic<bool> postedRan{false};
  ui.invokeAndWait([&] {
    ui.shutDown();
    nestedResult = ui.invokeAndWait([&] { nestedRan = true; });
  });
  ui.post([&] { postedRan = true; });
  EXPECT_FALSE(ui.invokeAndWait([&] { postedRan = true; }));
  ui.stop();
  EXPECT_FALSE(nestedResult);
  EXPECT_FALSE(nestedRan);
  EXPECT_FALSE(postedRan);
}

TEST(UiThreadHeadless, StopFromTheUiThreadDoesNotHang) {
  HeadlessUiThread ui;
  ui.post([&] { ui.stop(); });
  // Either the stop already happened or this call sees it: it never hangs.
  ui.drain();
  EXPECT_FALSE(ui.drain());
}

// The UI thread is busy; a worker waits in invokeAndWait; the UI shuts down. The worker is
// released with false, and neither its call nor anything posted before runs afterwards.
TEST(UiThreadHeadless, WaitingCallerIsReleasedByShutDown) {
  HeadlessUiThread ui;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::promise<void> busy;
  ui.post([&busy, released] {
    busy.set_value();
    released.wait();
  });
  busy.get_future().wait();

  std::atomic<bool> workerCallRan{false}, postedRan{false};
  ui.post([&] { postedRan = true; });
  std::atomic<int> workerResult{-1};
  std::thread worker([&] { workerResult = ui.invokeAndWait([&] { workerCallRan = true; }); });
  std::this_thread::sleep_for(50ms);  // let the worker reach its wait
  EXPECT_EQ(workerResult, -1);

  ui.shutDown();
  worker.join();
  EXPECT_EQ(workerResult, 0);

  release.set_value();
  ui.stop();
  EXPECT_FALSE(workerCallRan);
  EXPECT_FALSE(postedRan);
}

// A call that the UI thread has already begun is waited for: its caller must not go on while
// the UI thread still works with the caller's data.
TEST(UiThreadHeadless, CallInProgressIsWaitedForAtShutDown) {
  HeadlessUiThread ui;
  std::promise<void> started, release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<bool> returned{false};
  std::atomic<int> result{-1};
  std::thread worker([&] {
    result = ui.invokeAndWait([&started, released] {
      started.set_value();
      released.wait();
    });
    returned = true;
  });
  started.get_future().wait();
  ui.shutDown();
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(returned);
  release.set_value();
  worker.join();
  EXPECT_EQ(result, 1);
}

// A UiThread whose UI thread takes up a queued call only after the UI has shut down (a window
// system may still deliver events that were queued before the dialog closed).
class LateDeliveringUiThread : public UiThread {
 public:
  bool isUiThread() const override { return false; }

 protected:
  void schedule(std::function<void()> task) override {
    shutDown();
    task();
  }
};

TEST(UiThreadBase, CallTakenUpAfterShutDownDoesNotRun) {
  LateDeliveringUiThread ui;
  bool ran = false;
  EXPECT_FALSE(ui.invokeAndWait([&] { ran = true; }));
  EXPECT_FALSE(ran);
}

TEST(UiThreadBase, PostTakenUpAfterShutDownDoesNotRun) {
  LateDeliveringUiThread ui;
  bool ran = false;
  ui.post([&] { ran = true; });
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace pentaro
