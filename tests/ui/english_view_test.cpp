// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The program in English: LANG=en_US.UTF-8 as a desktop sets it, whether or not the machine has
// that locale generated. A program of its own, since the text table is made once per process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "text/cp932.h"
#include "text/language.h"
#include "text/texts.h"
#include "ui/view_texts.h"

namespace pentaro {
namespace {

class EnglishView : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) ::unsetenv(name);
    ::setenv("LANG", "en_US.UTF-8", 1);
    startLanguage();
  }
};

TEST_F(EnglishView, ShowsEnglishAndKeepsTheWireJapanese) {
  EXPECT_EQ(currentLanguage(), "en");
  EXPECT_EQ(texts().connectButton, "Connect");
  EXPECT_EQ(statusText(Status{Status::Kind::kNextToPlace, 7, {}}), "Next: 7");
  EXPECT_EQ(noticeText(Notice{Notice::Kind::kConnectFailed, "10.0.0.9", {}, 0}),
            "Could not connect (to 10.0.0.9)");
  // What other players' programs read stays as every peer expects it.
  EXPECT_EQ(texts().arrivalSuffix, cp932::fromUtf8("さんの登場です"));
  EXPECT_EQ(texts().greetingLine, cp932::fromUtf8("MSG\tサーバのバージョンは 1.01 です。"));
  EXPECT_EQ(texts().alreadyPlayingWith, cp932::fromUtf8("さんと、対戦しています・・・"));
  // The host's fixed notices are shown in English; names and other lines as sent.
  const std::string jiro = cp932::fromUtf8("じろう");
  EXPECT_EQ(hostMessageText(jiro + texts().arrivalSuffix), jiro + " joined");
  EXPECT_EQ(hostMessageText(jiro + texts().departureSuffix), jiro + " left");
  EXPECT_EQ(hostMessageText(texts().arrivalSuffix), texts().arrivalSuffix);
  const std::string greeting = cp932::fromUtf8("サーバのバージョンは 1.01 です。");
  EXPECT_EQ(hostMessageText(greeting), "The server's version is 1.01.");
  EXPECT_EQ(hostMessageText(greeting + "!"), greeting + "!");
}

}  // namespace
}  // namespace pentaro
