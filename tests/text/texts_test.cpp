// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/texts.h"

#include <gtest/gtest.h>

#include "support/hex_bytes.h"

namespace pentaro {
namespace {

using testing::hexBytes;

// Spelled out byte by byte: the table holds CP932, not UTF-8 or another Japanese encoding.
TEST(TextTable, HoldsCp932Bytes) {
  const Texts& t = texts();
  EXPECT_EQ(t.placementDone, hexBytes("94 7A 92 75 8A AE 97 B9"));      // 配置完了
  EXPECT_EQ(t.nextToPlaceFormat, hexBytes("8E 9F 82 CD 81 41 25 64"));  // 次は、%d
  EXPECT_EQ(t.waitingForMatch, hexBytes("91 CE 90 ED 91 D2 82 BF 81 45 81 45 81 45"));
  EXPECT_EQ(t.defaultName, hexBytes("96 BC 96 B3 82 B5"));                         // 名無し
  EXPECT_EQ(t.askChallenge.substr(t.askChallenge.size() - 2), hexBytes("81 48"));  // ？
  EXPECT_EQ(t.matchStar, hexBytes("20 81 9A 20"));                                 // " ★ "
  EXPECT_EQ(t.greetingLine.substr(0, 4), "MSG\t");
}

}  // namespace
}  // namespace pentaro
