// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/qt_ui_thread.h"

#include <QMetaObject>
#include <QThread>

namespace pentaro {

QtUiThread::QtUiThread() : context_(std::make_unique<QObject>()) {}

QtUiThread::~QtUiThread() {
  // Waiting callers are released before their queued tasks disappear with the context.
  shutDown();
}

bool QtUiThread::isUiThread() const { return QThread::currentThread() == context_->thread(); }

void QtUiThread::schedule(std::function<void()> task) {
  QMetaObject::invokeMethod(context_.get(), std::move(task), Qt::QueuedConnection);
}

}  // namespace pentaro
