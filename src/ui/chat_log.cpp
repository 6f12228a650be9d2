#include "ui/chat_log.h"

#include <string>

#include "text/texts.h"
#include "ui/controls.h"

namespace pentaro {

void appendChatLog(Window& window, std::string_view line) {
  std::string text(line);
  text += "\r\n";
  if (window.textLength(IDC_CHAT_LOG) >= kChatLogLimitBytes) {
    window.setText(IDC_CHAT_LOG, text);
  } else {
    window.appendText(IDC_CHAT_LOG, text);
  }
}

void setConnectionControls(Window& window, bool enable, bool serverToggle) {
  window.setEnabled(serverToggle ? IDC_CONNECT : IDC_BE_SERVER, enable);
  window.setEnabled(IDC_SERVER_ADDRESS, enable);
  if (window.textLength(IDC_PLAYER_NAME) == 0) window.setText(IDC_PLAYER_NAME, texts().defaultName);
  window.setEnabled(IDC_PLAYER_NAME, enable);
  if (enable) {
    window.setPressed(IDC_BE_SERVER, false);
    window.setPressed(IDC_CONNECT, false);
  }
}

}  // namespace pentaro
