// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The program icon, drawn at any size from one design: a 5 x 5 board with a completed diagonal and
// some called numbers, with a shadow. At 32 px it is pixel for pixel the classic icon
// (pentaro.xpm); other sizes scale the geometry in whole pixels, so every size stays sharp. Any
// thread.
#ifndef PENTARO_APP_PROGRAM_ICON_H_
#define PENTARO_APP_PROGRAM_ICON_H_

#include <QIcon>
#include <QImage>
#include <array>

namespace pentaro {

// The hicolor theme's sizes up to 256, as installed and as offered to the window system.
inline constexpr std::array<int, 9> kProgramIconSizes = {16, 22, 24, 32, 48, 64, 96, 128, 256};

// The icon as a `size` x `size` image with a transparent background.
QImage paintProgramIcon(int size);

// Every size above, so that each use (title bar, task switcher, a 2x screen) picks the largest
// that fits instead of scaling one bitmap up.
QIcon programIcon();

}  // namespace pentaro

#endif  // PENTARO_APP_PROGRAM_ICON_H_
