// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Build helper: draws the program icon at every hicolor size into a theme folder, as
// <dir>/<N>x<N>/apps/pentaro.png, for desktop menus and docks. Usage: icon_render <dir>

#include <QDir>
#include <QString>
#include <cstdio>

#include "app/program_icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: icon_render <theme-dir>\n", stderr);
    return 2;
  }
  const QString theme = QString::fromLocal8Bit(argv[1]);
  for (const int size : pentaro::kProgramIconSizes) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(theme).arg(size);
    const QString file = folder + QStringLiteral("/pentaro.png");
    if (!QDir().mkpath(folder) || !pentaro::paintProgramIcon(size).save(file, "PNG")) {
      std::fprintf(stderr, "icon_render: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
