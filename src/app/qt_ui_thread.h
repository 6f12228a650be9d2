// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Qt event loop's thread as the program's UI thread: work from other threads is queued to a
// context object that lives there. Create it on the UI thread, after the QApplication; it owns
// the context object. Shut it down (or destroy it) before the event loop's thread stops serving.
#ifndef PENTARO_APP_QT_UI_THREAD_H_
#define PENTARO_APP_QT_UI_THREAD_H_

#include <QObject>
#include <functional>
#include <memory>

#include "ui/ui_thread.h"

namespace pentaro {

class QtUiThread : public UiThread {
 public:
  QtUiThread();
  ~QtUiThread() override;

  bool isUiThread() const override;

 protected:
  void schedule(std::function<void()> task) override;

 private:
  // Queued tasks die with it: the event loop drops events for a deleted receiver.
  std::unique_ptr<QObject> context_;
};

}  // namespace pentaro

#endif  // PENTARO_APP_QT_UI_THREAD_H_
