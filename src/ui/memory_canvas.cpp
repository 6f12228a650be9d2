// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/memory_canvas.h"

#include <algorithm>
#include <cstdlib>

namespace pentaro {

MemoryCanvas::MemoryCanvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width * height), kBlack) {}

void MemoryCanvas::set(int x, int y, Rgb colour) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[y * width_ + x] = colour;
}

void MemoryCanvas::fillRect(const Rect& rect, Rgb colour) {
  for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, height_); ++y) {
    for (int x = std::max(rect.left, 0); x < std::min(rect.right, width_); ++x) set(x, y, colour);
  }
}

void MemoryCanvas::drawLine(int x1, int y1, int x2, int y2, Rgb colour) {
  // The board draws only horizontal and vertical lines; the last point is left out.
  int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
  int dx = (x2 > x1) - (x2 < x1), dy = (y2 > y1) - (y2 < y1);
  for (int i = 0; i < steps; ++i) set(x1 + i * dx, y1 + i * dy, colour);
}

void MemoryCanvas::drawCenteredText(const Rect& rect, std::string_view text, Rgb colour) {
  texts_.push_back({rect, std::string(text), colour});
}

}  // namespace pentaro
