// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/list_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/hex_bytes.h"

namespace pentaro {
namespace {

using testing::hexBytes;

bool sameRank(const std::string& a, const std::string& b) {
  return !listLess(a, b) && !listLess(b, a);
}

TEST(UiListOrder, AsciiLettersIgnoreCaseAndBytesCompareUnsigned) {
  EXPECT_TRUE(sameRank("Taro2", "tARO2"));
  EXPECT_TRUE(listLess("apple", "Banana"));
  EXPECT_TRUE(listLess("Apple", "banana"));
  EXPECT_TRUE(listLess("bob", "bobby"));
  // Double-byte characters and half-width katakana sort after ASCII.
  EXPECT_TRUE(listLess("zed", hexBytes("82 A0")));
  EXPECT_FALSE(listLess(hexBytes("82 A0"), "zed"));
  EXPECT_TRUE(listLess(hexBytes("82 A0"), hexBytes("B1")));
}

TEST(UiListOrder, SecondByteOfADoubleByteCharacterIsNeverFolded) {
  // "ア" is 83 41 and "ッ" is 83 61: second bytes that look like "A" and "a".
  EXPECT_TRUE(listLess(hexBytes("83 41"), hexBytes("83 61")));
  EXPECT_FALSE(listLess(hexBytes("83 61"), hexBytes("83 41")));
  // "ャ" is 83 83, its second byte a lead byte too: the letter after it is folded.
  EXPECT_TRUE(sameRank(hexBytes("83 83 83 83") + "q", hexBytes("83 83 83 83") + "Q"));
}

}  // namespace
}  // namespace pentaro
