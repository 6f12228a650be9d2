// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzz target: the line framing of a received byte stream, in chunks of fuzzed sizes, read the
// way the server's slot worker reads (pieces of at most 125 bytes) and the way the client's
// connection reads (whole lines up to 1023 bytes, longer ones dropped whole). Both are compared
// with a model that frames the whole stream at once: a NUL ends its chunk wherever it stands, CR,
// LF and CR LF end a line (also when CR and LF arrive in different chunks), and a line not ended
// when the stream ends is lost.
//
// Input: chunks, each a 2-byte little-endian size (taken modulo 1023, plus one) and its bytes.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "net/line_reader.h"

namespace {

using pentaro::LineReader;

constexpr int kServerLimit = 125;   // the slot worker's pieces
constexpr int kClientLimit = 1023;  // the client's longest whole line
constexpr int kMaxChunk = LineReader::kChunkBytes - 1;

struct Line {
  std::string text;
  bool whole = true;  // false for a piece that the next line continues
  bool operator==(const Line&) const = default;
};

std::vector<std::string> splitChunks(std::string_view data) {
  std::vector<std::string> chunks;
  while (data.size() >= 2) {
    const int size =
        (static_cast<unsigned char>(data[0]) | static_cast<unsigned char>(data[1]) << 8) %
            kMaxChunk +
        1;
    data.remove_prefix(2);
    const auto taken = std::min(static_cast<std::size_t>(size), data.size());
    chunks.emplace_back(data.substr(0, taken));
    data.remove_prefix(taken);
  }
  return chunks;
}

// The lines as the reader hands them over, driven like the socket's readLine: receive a chunk
// whenever the reader needs one; the end of the chunks is the end of the connection.
std::vector<Line> readLines(const std::vector<std::string>& chunks, int limit) {
  LineReader reader;
  // Exactly limit + 1 bytes, on the heap, so that a write past them is caught.
  const auto buffer = std::make_unique<char[]>(static_cast<std::size_t>(limit) + 1);
  std::vector<Line> lines;
  std::size_t next = 0;
  int length = 0;
  for (;;) {
    const LineReader::Result result = reader.read(buffer.get(), length, limit);
    if (result == LineReader::kNeedChunk) {
      if (next == chunks.size()) break;
      const std::string& chunk = chunks[next++];
      std::copy(chunk.begin(), chunk.end(), reader.chunkSpace());
      reader.takeChunk(static_cast<int>(chunk.size()));
      continue;
    }
    FUZZ_CHECK(length <= limit);
    FUZZ_CHECK(buffer[static_cast<std::size_t>(length)] == '\0');
    lines.push_back(
        {std::string(buffer.get(), static_cast<std::size_t>(length)), result == LineReader::kLine});
    length = 0;
  }
  return lines;
}

// What the client keeps: whole lines; a line that came in pieces is dropped with its tail.
std::vector<std::string> clientLines(const std::vector<Line>& pieces) {
  std::vector<std::string> lines;
  bool inLongLine = false;
  for (const Line& piece : pieces) {
    if (!piece.whole) {
      inLongLine = true;
    } else if (inLongLine) {
      inLongLine = false;
    } else {
      lines.push_back(piece.text);
    }
  }
  return lines;
}

// The model. First the bytes that count: each chunk up to its first NUL.
std::string streamOf(const std::vector<std::string>& chunks) {
  std::string stream;
  for (const std::string& chunk : chunks) stream += chunk.substr(0, chunk.find('\0'));
  return stream;
}

// The lines of the stream, each with whether its terminator came; the last one may lack it.
std::vector<Line> modelLines(const std::string& stream) {
  std::vector<Line> lines;
  std::string current;
  for (std::size_t i = 0; i < stream.size(); ++i) {
    const char byte = stream[i];
    if (byte != '\r' && byte != '\n') {
      current += byte;
      continue;
    }
    lines.push_back({current, true});
    current.clear();
    if (byte == '\r' && i + 1 < stream.size() && stream[i + 1] == '\n') ++i;
  }
  if (!current.empty()) lines.push_back({current, false});
  return lines;
}

// The server's view: every ended line in pieces of `limit` bytes (a line of exactly `limit`
// bytes is one piece); of an unended line, every full piece that a further byte followed.
std::vector<Line> modelPieces(const std::vector<Line>& lines, int limit) {
  const auto size = static_cast<std::size_t>(limit);
  std::vector<Line> pieces;
  for (const Line& line : lines) {
    std::size_t at = 0;
    while (line.text.size() - at > size) {
      pieces.push_back({line.text.substr(at, size), false});
      at += size;
    }
    if (line.whole) pieces.push_back({line.text.substr(at), true});
  }
  return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> chunks =
      splitChunks(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::vector<Line> lines = modelLines(streamOf(chunks));

  FUZZ_CHECK(readLines(chunks, kServerLimit) == modelPieces(lines, kServerLimit));

  std::vector<std::string> expected;
  for (const Line& line : lines) {
    if (line.whole && line.text.size() <= static_cast<std::size_t>(kClientLimit)) {
      expected.push_back(line.text);
    }
  }
  FUZZ_CHECK(clientLines(readLines(chunks, kClientLimit)) == expected);
  return 0;
}
