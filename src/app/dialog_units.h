// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Dialog units of the main dialog: positions and sizes are given in quarters of the font's average
// character width and eighths of its height, and turned into pixels the way a dialog manager
// does. A plain value; any thread.
#ifndef PENTARO_APP_DIALOG_UNITS_H_
#define PENTARO_APP_DIALOG_UNITS_H_

#include <QFont>
#include <QRect>

namespace pentaro {

class DialogUnits {
 public:
  // Base units measured from `font`: the rounded average width of the 52 ASCII letters, and the
  // font's height.
  explicit DialogUnits(const QFont& font);
  DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}

  int baseX() const { return baseX_; }
  int baseY() const { return baseY_; }

  // a * b / c rounded half away from zero, as MulDiv does.
  static int mulDiv(int a, int b, int c);

  int toPixelsX(int units) const { return mulDiv(units, baseX_, kHorizontalDivisor); }
  int toPixelsY(int units) const { return mulDiv(units, baseY_, kVerticalDivisor); }
  // Each of the four numbers is converted on its own, so a control keeps its size wherever it is.
  QRect toPixels(int x, int y, int width, int height) const;

 private:
  static constexpr int kHorizontalDivisor = 4;
  static constexpr int kVerticalDivisor = 8;

  int baseX_;
  int baseY_;
};

}  // namespace pentaro

#endif  // PENTARO_APP_DIALOG_UNITS_H_
