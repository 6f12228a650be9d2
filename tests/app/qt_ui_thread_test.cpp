// The Qt event loop as the UI thread: work from workers runs there, in order, and a shut-down
// releases whoever waits.
#include "app/qt_ui_thread.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QThread>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "app/app_test_support.h"

namespace pentaro::testing {
namespace {

class AppQtUiThread : public ::testing::Test {
 protected:
  AppQtUiThread() { application(); }
};

TEST_F(AppQtUiThread, KnowsItsThread) {
  QtUiThread ui;
  EXPECT_TRUE(ui.isUiThread());
  bool inWorker = true;
  std::thread([&] { inWorker = ui.isUiThread(); }).join();
  EXPECT_FALSE(inWorker);
}

TEST_F(AppQtUiThread, AWorkersCallRunsOnTheEventLoopWhileTheWorkerWaits) {
  QtUiThread ui;
  std::atomic<bool> returned{false};
  QThread* ranOn = nullptr;
  bool result = false;
  std::thread worker([&] {
    result = ui.invokeAndWait([&] { ranOn = QThread::currentThread(); });
    returned = true;
  });
  ASSERT_TRUE(waitFor([&] { return returned.load(); }));
  worker.join();
  EXPECT_TRUE(result);
  EXPECT_EQ(ranOn, QApplication::instance()->thread());
}

TEST_F(AppQtUiThread, PostedWorkRunsLaterAndInOrder) {
  QtUiThread ui;
  std::vector<int> order;
  ui.post([&] { order.push_back(1); });
  EXPECT_TRUE(order.empty());
  std::thread([&] {
    ui.post([&] { order.push_back(2); });
    ui.post([&] { order.push_back(3); });
  }).join();
  ASSERT_TRUE(waitFor([&] { return order.size() == 3; }));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  // On the UI thread itself a call runs at once.
  bool ran = false;
  EXPECT_TRUE(ui.invokeAndWait([&] { ran = true; }));
  EXPECT_TRUE(ran);
}

TEST_F(AppQtUiThread, ShuttingDownReleasesAWaitingWorkerWithoutRunningItsCall) {
  QtUiThread ui;
  std::atomic<bool> started{false}, returned{false};
  bool result = true, ran = false;
  std::thread worker([&] {
    started = true;
    result = ui.invokeAndWait([&] { ran = true; });
    returned = true;
  });
  // The event loop is not run here, so the call stays queued until the shut-down.
  while (!started) std::this_thread::yield();
  ui.shutDown();
  worker.join();
  EXPECT_TRUE(returned);
  EXPECT_FALSE(result);
  QApplication::processEvents();
  EXPECT_FALSE(ran);
  EXPECT_FALSE(ui.invokeAndWait([&] { ran = true; }));
  EXPECT_FALSE(ran);
}

TEST_F(AppQtUiThread, WorkQueuedBeforeItIsDestroyedIsDropped) {
  bool ran = false;
  {
    QtUiThread ui;
    ui.post([&] { ran = true; });
  }
  QApplication::processEvents();
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace pentaro::testing
