// The two window operations that every layer uses: adding a line to the chat log, and putting the
// connection controls into their idle or busy state. UI thread only.
#ifndef PENTARO_UI_CHAT_LOG_H_
#define PENTARO_UI_CHAT_LOG_H_

#include <string_view>

#include "ui/window.h"

namespace pentaro {

// Adds `line` and CR LF to the chat log. Once the log holds kChatLogLimitBytes or more, the line
// replaces the whole log instead.
void appendChatLog(Window& window, std::string_view line);

// Enables or disables the other toggle (IDC_CONNECT when `serverToggle`, else IDC_BE_SERVER), the
// address and the name field; an empty name becomes "名無し"; when enabling, both toggles are
// released.
void setConnectionControls(Window& window, bool enable, bool serverToggle);

}  // namespace pentaro

#endif  // PENTARO_UI_CHAT_LOG_H_
