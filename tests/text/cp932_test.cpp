#include "text/cp932.h"

#include <gtest/gtest.h>

#include <string>

#include "text/hex_bytes.h"

namespace pentaro {
namespace {

using testing::hexBytes;

std::string repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(TextCp932, TruncateKeepsDoubleByteCharactersWhole) {
  // "a" and forty times "あ" (82 A0): 81 bytes, every character boundary at an odd offset.
  const std::string hiragana = hexBytes("82 A0");
  const std::string name = "a" + repeat(hiragana, 40);
  ASSERT_EQ(name.size(), 81u);

  // The three cuts the program makes: a window text (78), a caption (38), a note (39).
  EXPECT_EQ(cp932::truncate(name, 78), "a" + repeat(hiragana, 38));  // 77 bytes
  EXPECT_EQ(cp932::truncate(name, 38), "a" + repeat(hiragana, 18));  // 37 bytes
  EXPECT_EQ(cp932::truncate(name, 39), "a" + repeat(hiragana, 19));  // 39 bytes

  // Without the leading "a" the same cuts land on boundaries.
  const std::string even = repeat(hiragana, 40);
  EXPECT_EQ(cp932::truncate(even, 78).size(), 78u);
  EXPECT_EQ(cp932::truncate(even, 39).size(), 38u);
}

TEST(TextCp932, TruncateWalksFromTheStartOfTheText) {
  // "ャ" is 83 83: its second byte is a lead byte as well, so only a walk from the start can
  // tell where the characters begin.
  const std::string text = repeat(hexBytes("83 83"), 3);
  EXPECT_EQ(cp932::truncate(text, 5), repeat(hexBytes("83 83"), 2));
  EXPECT_EQ(cp932::truncate("a" + text, 6), "a" + repeat(hexBytes("83 83"), 2));

  // Half-width katakana are single bytes (A1..DF) and may be cut anywhere.
  EXPECT_EQ(cp932::truncate(hexBytes("B1 B2 B3"), 2), hexBytes("B1 B2"));

  EXPECT_EQ(cp932::truncate("short", 78), "short");
  EXPECT_EQ(cp932::truncate("short", 0), "");
}

TEST(TextCp932, FromUtf8GivesCp932Bytes) {
  EXPECT_EQ(cp932::fromUtf8("配置完了"), hexBytes("94 7A 92 75 8A AE 97 B9"));
  EXPECT_EQ(cp932::fromUtf8("次は、%d"), hexBytes("8E 9F 82 CD 81 41 25 64"));
  EXPECT_EQ(cp932::fromUtf8("ｱ"), hexBytes("B1"));
  // Characters that plain Shift_JIS lacks and CP932 has: NEC and IBM extensions, and the
  // full-width tilde.
  EXPECT_EQ(cp932::fromUtf8("①髙～"), hexBytes("87 40 FB FC 81 60"));
}

TEST(TextCp932, FromUtf8ConvertsTextsLongerThanOneBuffer) {
  const std::string converted = cp932::fromUtf8(repeat("あ", 300) + "x");
  EXPECT_EQ(converted, repeat(hexBytes("82 A0"), 300) + "x");
}

TEST(TextCp932, FromUtf8ReplacesWhatCp932CannotHold) {
  // CP932 has no accented Latin letters and no emoji; each such character becomes one "?".
  EXPECT_EQ(cp932::fromUtf8("café"), "caf?");
  EXPECT_EQ(cp932::fromUtf8("a\xF0\x9F\x98\x80"
                            "b"),
            "a?b");
  EXPECT_EQ(cp932::fromUtf8("é名é"), "?" + hexBytes("96 BC") + "?");
  // Malformed UTF-8: a stray byte, and a sequence cut short by an ASCII byte or by the end.
  EXPECT_EQ(cp932::fromUtf8("a\xFF"
                            "b"),
            "a?b");
  EXPECT_EQ(cp932::fromUtf8("a\xE3\x81"
                            "b"),
            "a?b");
  EXPECT_EQ(cp932::fromUtf8("a\xE3\x81"), "a?");
  // Past a replaced character a long text still converts to its end.
  const std::string tail = repeat("あ", 200);
  EXPECT_EQ(cp932::fromUtf8("é" + tail), "?" + repeat(hexBytes("82 A0"), 200));
}

TEST(TextCp932, ToUtf8RoundTrip) {
  for (const char* text :
       {"", "Pentaroゲーム", "名無し : こんにちは", "ｱｲｳｴｵ", "①Ⅱ髙～", "対戦待ち・・・"}) {
    EXPECT_EQ(cp932::toUtf8(cp932::fromUtf8(text)), text) << text;
  }
  const std::string longText = repeat("数字をクリック", 60);
  EXPECT_EQ(cp932::toUtf8(cp932::fromUtf8(longText)), longText);
}

TEST(TextCp932, ToUtf8ReplacesBytesThatAreNotCp932) {
  // A lead byte with nothing after it.
  EXPECT_EQ(cp932::toUtf8("a" + hexBytes("82")), "a\xEF\xBF\xBD");
  EXPECT_EQ(cp932::toUtf8(hexBytes("83 41") + "z"), "アz");
  // A lead byte followed by a byte that cannot end a double-byte character: only the lead byte
  // is lost, the character after it stays.
  EXPECT_EQ(cp932::toUtf8(hexBytes("82") + " : x"), "\xEF\xBF\xBD : x");
  EXPECT_EQ(cp932::toUtf8("a" + hexBytes("82 0D 0A")), "a\xEF\xBF\xBD\r\n");
  // An unassigned double-byte code is one character.
  EXPECT_EQ(cp932::toUtf8("a" + hexBytes("85 40") + "b"),
            "a\xEF\xBF\xBD"
            "b");
}

}  // namespace
}  // namespace pentaro
