// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The test program's entry: one QApplication for every test, created after GoogleTest has read
// its flags and destroyed before the program's static objects (Qt's own among them) go away.
// The offscreen platform is used unless another one is asked for.

#include <gtest/gtest.h>

#include <QApplication>

#include "app/main_dialog.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setFont(pentaro::MainDialog::dialogFont());
  return RUN_ALL_TESTS();
}
