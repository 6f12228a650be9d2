#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "net/connection_slot.h"
#include "net/loopback.h"
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

TEST_F(NetLineReader, EveryTerminatorEndsALineAndTwoInARowGiveAnEmptyOne) {
  ASSERT_TRUE(peer_.send("ID\t3\r\nA\rB\nC\n\nD\r\r\nE\n\rF\r\n"));
  for (const char* expected : {"ID\t3", "A", "B", "C", "", "D", "", "E", "", "F"}) {
    EXPECT_EQ(read(), Line(kLine, expected));
  }
}

TEST_F(NetLineReader, LfAfterCrIsSkippedInTheNextReceive) {
  // The reader returns at the CR without receiving again, so the LF comes in a receive of its
  // own.
  ASSERT_TRUE(peer_.send("ID\t3\r"));
  EXPECT_EQ(read(), Line(kLine, "ID\t3"));
  ASSERT_TRUE(peer_.send("\nNEXT\r\n"));
  EXPECT_EQ(read(), Line(kLine, "NEXT"));
}

TEST_F(NetLineReader, LinesBeyondTheLimitArriveInPieces) {
  const std::string a125(125, 'a'), b125(125, 'b'), c125(125, 'c');
  ASSERT_TRUE(peer_.send(a125 + "\r\n" + b125 + "b\r\n" + c125 + c125 + "\r\nEND\r\n"));
  EXPECT_EQ(read(), Line(kLine, a125));  // exactly the limit: whole, CR LF consumed
  EXPECT_EQ(read(), Line(kLimitLine, b125));
  EXPECT_EQ(read(), Line(kLine, "b"));
  EXPECT_EQ(read(), Line(kLimitLine, c125));
  EXPECT_EQ(read(), Line(kLine, c125));
  EXPECT_EQ(read(), Line(kLine, "END"));
}

TEST_F(NetLineReader, NulEndsTheChunkAndTheRestOfItIsLost) {
  ASSERT_TRUE(peer_.send(std::string("AB\r\nX\0lost\r\n", 13)));
  EXPECT_EQ(read(), Line(kLine, "AB"));
  ASSERT_TRUE(peer_.send("YZ\r\n"));
  EXPECT_EQ(read(), Line(kLine, "XYZ"));
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
