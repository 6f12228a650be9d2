// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A Canvas that keeps its pixels in memory: the headless board surface, read back by tests.
// Text is not rasterised; each drawn text is recorded with its rectangle and colour.
#ifndef PENTARO_UI_MEMORY_CANVAS_H_
#define PENTARO_UI_MEMORY_CANVAS_H_

#include <string>
#include <vector>

#include "ui/canvas.h"

namespace pentaro {

class MemoryCanvas : public Canvas {
 public:
  struct Text {
    Rect rect;
    std::string text;
    Rgb colour;
  };

  static constexpr Rgb kButtonFace{240, 240, 240};

  MemoryCanvas(int width, int height);

  int width() const override { return width_; }
  int height() const override { return height_; }
  Rgb buttonFace() const override { return kButtonFace; }
  void fillRect(const Rect& rect, Rgb colour) override;
  void drawLine(int x1, int y1, int x2, int y2, Rgb colour) override;
  void drawCenteredText(const Rect& rect, std::string_view text, Rgb colour) override;

  Rgb pixel(int x, int y) const { return pixels_[y * width_ + x]; }
  const std::vector<Text>& texts() const { return texts_; }

 private:
  void set(int x, int y, Rgb colour);

  int width_, height_;
  std::vector<Rgb> pixels_;
  std::vector<Text> texts_;
};

}  // namespace pentaro

#endif  // PENTARO_UI_MEMORY_CANVAS_H_
