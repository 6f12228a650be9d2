#include "ui/chat_log.h"

#include <gtest/gtest.h>

#include <string>

#include "text/hex_bytes.h"
#include "ui/controls.h"
#include "ui/headless_window.h"

namespace pentaro {
namespace {

using testing::hexBytes;

const std::string kNoName = hexBytes("96 BC 96 B3 82 B5");  // 名無し

TEST(UiChatLog, AppendsLinesWithCrLf) {
  HeadlessWindow window;
  appendChatLog(window, "first");
  appendChatLog(window, "");
  appendChatLog(window, hexBytes("83 41"));
  EXPECT_EQ(window.fullText(IDC_CHAT_LOG), "first\r\n\r\n" + hexBytes("83 41") + "\r\n");
}

TEST(UiChatLog, StartsAgainOnceTheLogHolds32000Bytes) {
  HeadlessWindow below;
  below.setText(IDC_CHAT_LOG, std::string(31999, 'x'));
  appendChatLog(below, "line");
  EXPECT_EQ(below.textLength(IDC_CHAT_LOG), 31999 + 6);
  // Now past the limit: the next line replaces everything, and the log grows again from there.
  appendChatLog(below, "fresh");
  appendChatLog(below, "more");
  EXPECT_EQ(below.fullText(IDC_CHAT_LOG), "fresh\r\nmore\r\n");

  HeadlessWindow exactly;
  exactly.setText(IDC_CHAT_LOG, std::string(32000, 'x'));
  appendChatLog(exactly, "fresh");
  EXPECT_EQ(exactly.fullText(IDC_CHAT_LOG), "fresh\r\n");
}

TEST(UiConnectionControls, DisablingForTheClientToggle) {
  HeadlessWindow window;
  window.setPressed(IDC_CONNECT, true);
  setConnectionControls(window, false, false);

  EXPECT_FALSE(window.isEnabled(IDC_BE_SERVER));
  EXPECT_TRUE(window.isEnabled(IDC_CONNECT));  // the clicked toggle can always be undone
  EXPECT_TRUE(window.isPressed(IDC_CONNECT));
  EXPECT_FALSE(window.isEnabled(IDC_SERVER_ADDRESS));
  EXPECT_FALSE(window.isEnabled(IDC_PLAYER_NAME));
  EXPECT_EQ(window.fullText(IDC_PLAYER_NAME), kNoName);
}

TEST(UiConnectionControls, DisablingForTheServerToggle) {
  HeadlessWindow window;
  window.setText(IDC_PLAYER_NAME, "Taro");
  window.setPressed(IDC_BE_SERVER, true);
  setConnectionControls(window, false, true);

  EXPECT_FALSE(window.isEnabled(IDC_CONNECT));
  EXPECT_TRUE(window.isEnabled(IDC_BE_SERVER));
  EXPECT_TRUE(window.isPressed(IDC_BE_SERVER));
  EXPECT_FALSE(window.isEnabled(IDC_SERVER_ADDRESS));
  EXPECT_FALSE(window.isEnabled(IDC_PLAYER_NAME));
  EXPECT_EQ(window.fullText(IDC_PLAYER_NAME), "Taro");
}

TEST(UiConnectionControls, EnablingReleasesBothToggles) {
  HeadlessWindow window;
  window.setEnabled(IDC_CHALLENGE, false);
  window.setPressed(IDC_CONNECT, true);
  window.setPressed(IDC_BE_SERVER, true);
  setConnectionControls(window, false, true);
  setConnectionControls(window, true, true);

  EXPECT_TRUE(window.isEnabled(IDC_CONNECT));
  EXPECT_TRUE(window.isEnabled(IDC_BE_SERVER));
  EXPECT_FALSE(window.isPressed(IDC_CONNECT));
  EXPECT_FALSE(window.isPressed(IDC_BE_SERVER));
  EXPECT_TRUE(window.isEnabled(IDC_SERVER_ADDRESS));
  EXPECT_TRUE(window.isEnabled(IDC_PLAYER_NAME));
  // The match buttons are none of its business.
  EXPECT_FALSE(window.isEnabled(IDC_CHALLENGE));
  EXPECT_FALSE(window.isEnabled(IDC_END_MATCH));
}

TEST(UiConnectionControls, EmptyNameIsFilledWhenEnablingToo) {
  HeadlessWindow window;
  setConnectionControls(window, true, false);
  EXPECT_EQ(window.fullText(IDC_PLAYER_NAME), kNoName);
  // Only an empty name is replaced.
  window.setText(IDC_PLAYER_NAME, "x");
  setConnectionControls(window, true, false);
  EXPECT_EQ(window.textHistory(IDC_PLAYER_NAME), (std::vector<std::string>{kNoName, "x"}));
}

}  // namespace
}  // namespace pentaro
