// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/message_fields.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "net/line_builder.h"
#include "net/protocol.h"

namespace pentaro {
namespace {

TEST(NetMessageFields, SplitsAtEveryTab) {
  const MessageFields fields("\tSTARTVS\t\t3\t");
  ASSERT_EQ(fields.count(), 5);
  EXPECT_EQ(fields.field(0), "");
  EXPECT_EQ(fields.field(1), "STARTVS");
  EXPECT_EQ(fields.field(2), "");
  EXPECT_EQ(fields.number(3), 3);
  EXPECT_EQ(fields.field(4), "");
  EXPECT_EQ(fields.field(5), "");
  EXPECT_EQ(fields.field(-1), "");
  EXPECT_EQ(fields.field(INT_MAX), "");
  EXPECT_EQ(fields.number(-1), 0);
}

TEST(NetMessageFields, EmptyLineIsOneEmptyField) {
  const MessageFields fields("");
  EXPECT_EQ(fields.count(), 1);
  EXPECT_EQ(fields.field(0), "");
  EXPECT_FALSE(fields.is("ID"));
}

TEST(NetMessageFields, ThirtiethFieldKeepsTheRestOfTheLine) {
  std::string line = "SET_E_FL";
  for (int i = 1; i < protocol::kMaxFields; ++i) line += "\t" + std::to_string(i);
  const MessageFields exact(line);
  ASSERT_EQ(exact.count(), protocol::kMaxFields);
  EXPECT_TRUE(exact.is(protocol::kSetEFl));
  EXPECT_EQ(exact.field(29), "29");

  const MessageFields longer(line + "\tx\t\ty");
  ASSERT_EQ(longer.count(), protocol::kMaxFields);
  EXPECT_EQ(longer.field(29), "29\tx\t\ty");
  EXPECT_EQ(longer.field(30), "");
}

TEST(NetMessageFields, CommandIsComparedWholeAndCaseSensitively) {
  EXPECT_TRUE(MessageFields("ID\t3").is("ID"));
  EXPECT_FALSE(MessageFields("IDX\t3").is("ID"));
  EXPECT_FALSE(MessageFields("id\t3").is("ID"));
}

TEST(NetParseNumber, ReadsLeniently) {
  EXPECT_EQ(parseNumber("12abc"), 12);
  EXPECT_EQ(parseNumber(" 7"), 7);
  EXPECT_EQ(parseNumber("\t\n 7 8"), 7);
  EXPECT_EQ(parseNumber("-1"), -1);
  EXPECT_EQ(parseNumber("+5"), 5);
  EXPECT_EQ(parseNumber("abc"), 0);
  EXPECT_EQ(parseNumber(""), 0);
  EXPECT_EQ(parseNumber("-"), 0);
  EXPECT_EQ(parseNumber("- 3"), 0);
  EXPECT_EQ(parseNumber("0017"), 17);
}

TEST(NetParseNumber, SaturatesBeyondTheRangeOfInt) {
  EXPECT_EQ(parseNumber("2147483647"), INT_MAX);
  EXPECT_EQ(parseNumber("2147483648"), INT_MAX);
  EXPECT_EQ(parseNumber("99999999999999999999999"), INT_MAX);
  EXPECT_EQ(parseNumber("-2147483648"), INT_MIN);
  EXPECT_EQ(parseNumber("-99999999999999999999999"), INT_MIN);
}

TEST(NetLineBuilder, AppendsEachFieldAfterATab) {
  EXPECT_EQ(LineBuilder("PLOT").number(3).number(-17).line(), "PLOT\t3\t-17");
  EXPECT_EQ(LineBuilder("STARTVS").number(5).text("").text("").line(), "STARTVS\t5\t\t");
  const std::string line = LineBuilder("END_VS");
  EXPECT_EQ(line, "END_VS");

  // What the builder composes, the splitter takes apart again.
  const MessageFields fields(LineBuilder("ADD").number(-1).text("名前").line());
  EXPECT_EQ(fields.number(1), -1);
  EXPECT_EQ(fields.field(2), "名前");
}

}  // namespace
}  // namespace pentaro
