#include "ui/chat_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/hex_bytes.h"
#include "ui/controls.h"
#include "ui/headless_window.h"

namespace pentaro {
namespace {

using testing::hexBytes;

TEST(UiChatLog, AppendsLinesWithCrLfAndStartsAgainAt32000Bytes) {
  HeadlessWindow window;
  appendChatLog(window, "first");
  appendChatLog(window, "");
  EXPECT_EQ(window.fullText(IDC_CHAT_LOG), "first\r\n\r\n");

  window.setText(IDC_CHAT_LOG, std::string(31999, 'x'));
  appendChatLog(window, "line");  // below the limit: appended, the log passes it
  EXPECT_EQ(window.textLength(IDC_CHAT_LOG), 31999 + 6);
  appendChatLog(window, "fresh");  // the whole log is replaced...
  appendChatLog(window, "more");   // ...and grows again from there
  EXPECT_EQ(window.fullText(IDC_CHAT_LOG), "fresh\r\nmore\r\n");

  window.setText(IDC_CHAT_LOG, std::string(32000, 'x'));
  appendChatLog(window, "fresh");
  EXPECT_EQ(window.fullText(IDC_CHAT_LOG), "fresh\r\n");
}

TEST(UiConnectionControls, DisablingLeavesTheClickedToggleAlone) {
  HeadlessWindow client, server;
  client.setPressed(IDC_CONNECT, true);
  setConnectionControls(client, false, false);
  EXPECT_FALSE(client.isEnabled(IDC_BE_SERVER));
  EXPECT_TRUE(client.isEnabled(IDC_CONNECT));
  EXPECT_TRUE(client.isPressed(IDC_CONNECT));
  EXPECT_FALSE(client.isEnabled(IDC_SERVER_ADDRESS));
  EXPECT_FALSE(client.isEnabled(IDC_PLAYER_NAME));
  EXPECT_EQ(client.fullText(IDC_PLAYER_NAME), hexBytes("96 BC 96 B3 82 B5"));  // 名無し

  server.setText(IDC_PLAYER_NAME, "Taro");
  setConnectionControls(server, false, true);
  EXPECT_FALSE(server.isEnabled(IDC_CONNECT));
  EXPECT_TRUE(server.isEnabled(IDC_BE_SERVER));
  EXPECT_EQ(server.fullText(IDC_PLAYER_NAME), "Taro");
}

TEST(UiConnectionControls, EnablingReleasesBothToggles) {
  HeadlessWindow window;
  window.setPressed(IDC_CONNECT, true);
  window.setPressed(IDC_BE_SERVER, true);
  setConnectionControls(window, false, true);
  setConnectionControls(window, true, true);
  for (int id : {IDC_CONNECT, IDC_BE_SERVER, IDC_SERVER_ADDRESS, IDC_PLAYER_NAME}) {
    EXPECT_TRUE(window.isEnabled(id)) << id;
  }
  EXPECT_FALSE(window.isPressed(IDC_CONNECT));
  EXPECT_FALSE(window.isPressed(IDC_BE_SERVER));
  EXPECT_FALSE(window.isEnabled(IDC_END_MATCH));  // the match buttons are not its business
  // The empty name was filled once, by the first call.
  EXPECT_EQ(window.textHistory(IDC_PLAYER_NAME).size(), 1u);
}

}  // namespace
}  // namespace pentaro
