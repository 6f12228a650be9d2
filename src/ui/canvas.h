// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A surface to draw one board on, in pixels with (0, 0) at the top left. Rectangles include their
// left and top edges and exclude their right and bottom edges; a line includes its first point and
// excludes its last, as the classic GDI calls do. Used on the UI thread only.
#ifndef PENTARO_UI_CANVAS_H_
#define PENTARO_UI_CANVAS_H_

#include <cstdint>
#include <string_view>

namespace pentaro {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kRed{255, 0, 0};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  // The colour of button faces: the dialog's background.
  virtual Rgb buttonFace() const = 0;
  virtual void fillRect(const Rect& rect, Rgb colour) = 0;
  virtual void drawLine(int x1, int y1, int x2, int y2, Rgb colour) = 0;
  // One line of CP932 text, centred horizontally and vertically in `rect`, on a transparent
  // background.
  virtual void drawCenteredText(const Rect& rect, std::string_view text, Rgb colour) = 0;
};

}  // namespace pentaro

#endif  // PENTARO_UI_CANVAS_H_
