// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/line_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "net/connection_slot.h"
#include "support/events.h"
#include "net/stream_socket.h"

namespace pentaro {
namespace {

using testing::RawClient;

// A StreamSocket that reads what a raw client writes, over a real loopback connection.
class LineReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(listener_.makeSocket());
    ASSERT_EQ(listener_.bindAndListen(0, 1), 0);
    ASSERT_TRUE(peer_.connect(listener_.localPort()));
    ASSERT_TRUE(listener_.acceptInto(socket_));
  }

  std::pair<int, std::string> read(int limit = ConnectionSlot::kLineLimit) {
    // Filled, so that a byte the reader leaves unterminated shows; the extra NUL keeps it a string.
    std::vector<char> buffer(static_cast<size_t>(limit) + 2, '#');
    buffer.back() = '\0';
    const int result = socket_.readLine(buffer.data(), limit);
    return {result, std::string(buffer.data())};
  }

  StreamSocket listener_;
  StreamSocket socket_;
  RawClient peer_;
};

using Line = std::pair<int, std::string>;
constexpr int kLine = StreamSocket::kLine;
constexpr int kLimitLine = StreamSocket::kLimitLine;

using NetLineReader = LineReaderTest;

// The framing rules in memory: chunks as a peer's receives deliver them, the lines they give.
struct FramingCase {
  const char* name;
  std::vector<std::string> chunks;
  int limit;
  std::vector<Line> lines;  // every line read before the chunks are used up
};

std::vector<Line> readAll(const FramingCase& c) {
  LineReader reader;
  std::vector<Line> lines;
  std::vector<char> buffer(static_cast<size_t>(c.limit) + 1);
  int length = 0;
  for (const std::string& chunk : c.chunks) {
    std::copy(chunk.begin(), chunk.end(), reader.chunkSpace());
    reader.takeChunk(static_cast<int>(chunk.size()));
    for (;;) {
      const int result = reader.read(buffer.data(), length, c.limit);
      if (result == LineReader::kNeedChunk) break;
      lines.emplace_back(result, std::string(buffer.data()));
      length = 0;
    }
  }
  return lines;
}

TEST(NetLineFraming, ChunksGiveTheirLines) {
  const std::string a125(125, 'a'), b125(125, 'b'), c125(125, 'c');
  const FramingCase cases[] = {
      {"every terminator ends a line, two in a row give an empty one",
       {"ID\t3\r\nA\rB\nC\n\nD\r\r\nE\n\rF\r\n"},
       125,
       {{kLine, "ID\t3"},
        {kLine, "A"},
        {kLine, "B"},
        {kLine, "C"},
        {kLine, ""},
        {kLine, "D"},
        {kLine, ""},
        {kLine, "E"},
        {kLine, ""},
        {kLine, "F"}}},
      {"an LF after a CR is skipped in the next chunk",
       {"ID\t3\r", "\nNEXT\r\n"},
       125,
       {{kLine, "ID\t3"}, {kLine, "NEXT"}}},
      {"a line goes on across chunks", {"CH", "AT\tx", "y\r\n"}, 125, {{kLine, "CHAT\txy"}}},
      {"lines beyond the limit arrive in pieces",
       {a125 + "\r\n" + b125 + "b\r\n" + c125 + c125 + "\r\nEND\r\n"},
       125,
       {{kLine, a125},
        {kLimitLine, b125},
        {kLine, "b"},
        {kLimitLine, c125},
        {kLine, c125},
        {kLine, "END"}}},
      {"the limit counts the bytes of earlier chunks",
       {"abc", "defg\n"},
       5,
       {{kLimitLine, "abcde"}, {kLine, "fg"}}},
      {"a NUL ends the chunk and the rest of it is lost",
       {std::string("AB\r\nX\0lost\r\n", 13), "YZ\r\n"},
       125,
       {{kLine, "AB"}, {kLine, "XYZ"}}},
      {"a NUL as a chunk's first byte loses the whole chunk",
       {"AB", std::string("\0CD\r", 5), "EF\r\n"},
       125,
       {{kLine, "ABEF"}}},
      {"a chunk of NULs only is lost", {"A", std::string("\0\0\n", 3), "\n"}, 125, {{kLine, "A"}}},
  };
  for (const FramingCase& c : cases) EXPECT_EQ(readAll(c), c.lines) << c.name;
}

TEST_F(NetLineReader, PeerClosingMidLineGivesNoLine) {
  ASSERT_TRUE(peer_.send("DONE\r\nPART"));
  EXPECT_EQ(read(), Line(kLine, "DONE"));
  peer_.shutdownWrite();
  EXPECT_EQ(read().first, StreamSocket::kNoLine);
  EXPECT_FALSE(socket_.isConnected());
  EXPECT_FALSE(socket_.writeLine("X"));
  EXPECT_EQ(read().first, StreamSocket::kNoLine);
}

TEST(NetLineReaderUnconnected, GivesNoLineAndLeavesTheBuffer) {
  StreamSocket socket;
  char buffer[4] = "abc";
  EXPECT_EQ(socket.readLine(buffer, 3), StreamSocket::kNoLine);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_FALSE(socket.writeLine("X"));
}

using NetLineWriter = LineReaderTest;

TEST_F(NetLineWriter, LinesFromSeveralThreadsArriveWholeWithCrLf) {
  constexpr int kThreads = 4;
  constexpr int kLinesEach = 200;
  auto lineOf = [](int thread, int n) {
    return "CHAT\t" + std::to_string(thread) + "\t" +
           std::string(300, static_cast<char>('a' + thread)) + std::to_string(n);
  };
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([&, t] {
      for (int n = 0; n < kLinesEach; ++n) EXPECT_TRUE(socket_.writeLine(lineOf(t, n)));
    });
  }
  std::vector<int> next(kThreads, 0);  // each thread's lines arrive in its own order
  for (int i = 0; i < kThreads * kLinesEach; ++i) {
    const auto line = peer_.readLine();
    ASSERT_TRUE(line.has_value());
    const int thread = line->at(5) - '0';
    ASSERT_TRUE(thread >= 0 && thread < kThreads) << *line;
    EXPECT_EQ(*line, lineOf(thread, next[static_cast<size_t>(thread)]++));
  }
  for (auto& writer : writers) writer.join();
}

}  // namespace
}  // namespace pentaro
