// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/cp932.h"

#include <gtest/gtest.h>

#include <string>

#include "support/hex_bytes.h"

namespace pentaro {
namespace {

using testing::hexBytes;

std::string repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

const std::string kA = hexBytes("82 A0");  // あ
const std::string kReplacement = "\xEF\xBF\xBD";

TEST(TextCp932, TruncateNeverSplitsADoubleByteCharacter) {
  // The program's three cuts (window text 78, caption 38, note 39), with character boundaries at
  // odd offsets.
  const std::string name = "a" + repeat(kA, 40);
  EXPECT_EQ(cp932::truncate(name, 78), "a" + repeat(kA, 38));
  EXPECT_EQ(cp932::truncate(name, 38), "a" + repeat(kA, 18));
  EXPECT_EQ(cp932::truncate(name, 39), "a" + repeat(kA, 19));
  EXPECT_EQ(cp932::truncate(repeat(kA, 40), 39), repeat(kA, 19));
  // "ャ" is 83 83: its second byte is a lead byte too, so only a walk from the start finds the
  // boundaries.
  EXPECT_EQ(cp932::truncate("a" + repeat(hexBytes("83 83"), 3), 6),
            "a" + repeat(hexBytes("83 83"), 2));
  // Half-width katakana are single bytes.
  EXPECT_EQ(cp932::truncate(hexBytes("B1 B2 B3"), 2), hexBytes("B1 B2"));
  EXPECT_EQ(cp932::truncate("short", 78), "short");
}

TEST(TextCp932, FromUtf8) {
  EXPECT_EQ(cp932::fromUtf8("配置完了"), hexBytes("94 7A 92 75 8A AE 97 B9"));
  // Half-width katakana, and what plain Shift_JIS lacks: NEC and IBM extensions, the wave dash.
  EXPECT_EQ(cp932::fromUtf8("ｱ①髙～"), hexBytes("B1 87 40 FB FC 81 60"));
  // Longer than one conversion buffer.
  EXPECT_EQ(cp932::fromUtf8(repeat("あ", 300) + "x"), repeat(kA, 300) + "x");
}

TEST(TextCp932, FromUtf8ReplacesWhatCp932CannotHoldWithOneQuestionMark) {
  EXPECT_EQ(cp932::fromUtf8("café"), "caf?");  // no accented letters
  EXPECT_EQ(cp932::fromUtf8("a\xF0\x9F\x98\x80"
                            "b"),
            "a?b");  // no emoji
  EXPECT_EQ(cp932::fromUtf8("a\xFF"
                            "b\xE3\x81"
                            "c\xE3"),
            "a?b?c?");  // malformed UTF-8
  EXPECT_EQ(cp932::fromUtf8("é" + repeat("あ", 200)), "?" + repeat(kA, 200));
}

TEST(TextCp932, ToUtf8) {
  for (const char* text : {"", "Pentaroゲーム", "名無し : ｱｲｳ", "①Ⅱ髙～・・・"}) {
    EXPECT_EQ(cp932::toUtf8(cp932::fromUtf8(text)), text) << text;
  }
  EXPECT_EQ(cp932::toUtf8(repeat(kA, 300)), repeat("あ", 300));
  // An unassigned double-byte code is one character; a lead byte at the end is one too.
  EXPECT_EQ(cp932::toUtf8("a" + hexBytes("85 40") + "b"), "a" + kReplacement + "b");
  EXPECT_EQ(cp932::toUtf8("a" + hexBytes("82")), "a" + kReplacement);
  // A lead byte before a byte that cannot end a double-byte character is lost alone: the blank
  // or the CR after it stays.
  EXPECT_EQ(cp932::toUtf8(hexBytes("82") + " : x"), kReplacement + " : x");
  EXPECT_EQ(cp932::toUtf8("a" + hexBytes("82 0D 0A")), "a" + kReplacement + "\r\n");
}

}  // namespace
}  // namespace pentaro
