// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "player/board_lines.h"

#include <bit>

#include "game/board.h"

namespace pentaro {
namespace {

CellMask cellBit(int column, int row) { return CellMask{1} << (column + Board::kSide * row); }

std::array<CellMask, kLineCount> makeLines() {
  std::array<CellMask, kLineCount> lines{};
  int next = 0;
  for (int column = 0; column < Board::kSide; ++column) {
    for (int row = 0; row < Board::kSide; ++row) lines[next] |= cellBit(column, row);
    ++next;
  }
  for (int row = 0; row < Board::kSide; ++row) {
    for (int column = 0; column < Board::kSide; ++column) lines[next] |= cellBit(column, row);
    ++next;
  }
  for (int k = 0; k < Board::kSide; ++k) {
    lines[next] |= cellBit(k, k);
    lines[next + 1] |= cellBit(Board::kSide - 1 - k, k);
  }
  return lines;
}

std::vector<CellMask> makeUnions() {
  std::vector<CellMask> unions;
  const auto& lines = lineMasks();
  for (unsigned chosen = 0; chosen < (1u << kLineCount); ++chosen) {
    if (std::popcount(chosen) != Board::kLinesToWin) continue;
    CellMask cells = 0;
    for (int line = 0; line < kLineCount; ++line) {
      if (chosen & (1u << line)) cells |= lines[line];
    }
    unions.push_back(cells);
  }
  return unions;
}

}  // namespace

const std::array<CellMask, kLineCount>& lineMasks() {
  static const std::array<CellMask, kLineCount> lines = makeLines();
  return lines;
}

const std::vector<CellMask>& fiveLineUnions() {
  static const std::vector<CellMask> unions = makeUnions();
  return unions;
}

int completedLines(CellMask marked) {
  int complete = 0;
  for (CellMask line : lineMasks()) complete += (line & marked) == line ? 1 : 0;
  return complete;
}

}  // namespace pentaro
