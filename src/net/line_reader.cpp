// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/line_reader.h"

#include <algorithm>

namespace pentaro {

LineReader::Result LineReader::read(char* buffer, int& length, int limit) {
  while (cursor_ < end_) {
    const char byte = chunk_[cursor_];
    if (afterCr_ && byte == '\n') {
      // The LF of a CR LF whose CR ended the previous line, maybe in the previous chunk.
      afterCr_ = false;
      ++cursor_;
      continue;
    }
    afterCr_ = byte == '\r';
    if (byte == '\r' || byte == '\n') {
      buffer[length] = '\0';
      ++cursor_;
      return kLine;
    }
    if (length >= limit) {
      buffer[length] = '\0';  // the cursor stays: this byte begins the next piece
      return kLimitLine;
    }
    buffer[length++] = byte;
    ++cursor_;
  }
  return kNeedChunk;
}

void LineReader::takeChunk(int count) {
  count = std::clamp(count, 0, kChunkBytes - 1);
  // A NUL ends the chunk wherever it stands, also as its first byte: what follows is lost.
  end_ = static_cast<int>(std::find(chunk_, chunk_ + count, '\0') - chunk_);
  cursor_ = 0;
}

void LineReader::reset(bool afterCr) {
  end_ = 0;
  cursor_ = 0;
  afterCr_ = afterCr;
}

}  // namespace pentaro
