// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The line framing of a received byte stream, without a socket: the owner receives into
// chunkSpace(), hands the count to takeChunk(), and reads lines until the chunk is used up.
// CR LF, a lone CR and a lone LF each end a line; an LF right after a line-ending CR is skipped,
// also in the next chunk; a NUL ends its chunk, wherever it stands. Owned by one socket and used
// only by the thread that reads it. Not copyable.
#ifndef PENTARO_NET_LINE_READER_H_
#define PENTARO_NET_LINE_READER_H_

#include <cstddef>

namespace pentaro {

class LineReader {
 public:
  static constexpr int kChunkBytes = 1024;  // one receive takes at most kChunkBytes - 1

  enum Result : int {
    kNeedChunk = 0,  // the chunk is used up: receive the next one, then read on
    kLine = 1,       // a whole line, without its terminator
    kLimitLine = 2,  // the first `limit` bytes of a longer line; the rest follows
  };

  LineReader() = default;
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Continues the line in `buffer`, whose first `length` bytes a previous call filled, and
  // NUL-terminates it when it ends or reaches `limit` bytes (the buffer holds limit + 1 bytes).
  // On kNeedChunk the line goes on in the next chunk; `length` tells how far it got.
  Result read(char* buffer, int& length, int limit);

  // Where the next receive puts its bytes: room for kChunkBytes - 1.
  char* chunkSpace() { return chunk_; }
  // `count` bytes were received into chunkSpace(); a NUL among them ends the chunk there.
  void takeChunk(int count);
  // Bytes of the current chunk not read yet.
  bool hasUnreadBytes() const { return cursor_ < end_; }
  std::size_t unreadBytes() const { return static_cast<std::size_t>(end_ - cursor_); }

  // Forgets the chunk; `afterCr` tells whether an LF that comes first is still skipped.
  void reset(bool afterCr = false);
  bool afterCr() const { return afterCr_; }

 private:
  char chunk_[kChunkBytes] = {};
  int end_ = 0;  // the chunk's usable bytes: up to the first NUL
  int cursor_ = 0;
  bool afterCr_ = false;
};

}  // namespace pentaro

#endif  // PENTARO_NET_LINE_READER_H_
