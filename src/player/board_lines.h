// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The twelve lines of a board (five columns, five rows, two diagonals) as bit masks over the cell
// indices, and the unions of every choice of five of them: the arithmetic the strategies share.
// Plain functions over immutable tables; safe from any thread.
#ifndef PENTARO_PLAYER_BOARD_LINES_H_
#define PENTARO_PLAYER_BOARD_LINES_H_

#include <array>
#include <cstdint>
#include <vector>

namespace pentaro {

using CellMask = std::uint32_t;  // bit i: the cell with index i (column + 5 * row)

inline constexpr int kLineCount = 12;

const std::array<CellMask, kLineCount>& lineMasks();
// The cells of every set of five distinct lines (792 of them), the ways to reach five lines.
const std::vector<CellMask>& fiveLineUnions();
// How many of the twelve lines lie wholly inside `marked`.
int completedLines(CellMask marked);

}  // namespace pentaro

#endif  // PENTARO_PLAYER_BOARD_LINES_H_
