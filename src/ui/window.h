// The window as the game and lobby logic see it: controls addressed by identifier, texts in CP932.
// Every call is made on the UI thread (see UiThread); implementations need no lock of their own
// except `post`, which any thread may call.
#ifndef PENTARO_UI_WINDOW_H_
#define PENTARO_UI_WINDOW_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace pentaro {

class Window {
 public:
  virtual ~Window() = default;

  // Texts of edits, statics, buttons and the chat log. `text` never returns more than
  // `maxBytes` bytes and never cuts a two-byte character in half.
  virtual void setText(int id, std::string_view text) = 0;
  virtual std::string text(int id, int maxBytes) const = 0;
  virtual int textLength(int id) const = 0;  // in CP932 bytes
  // Adds `text` at the end of a multi-line edit (the chat log).
  virtual void appendText(int id, std::string_view text) = 0;

  virtual void setEnabled(int id, bool enabled) = 0;
  virtual bool isEnabled(int id) const = 0;
  // The two push-like toggles (IDC_CONNECT, IDC_BE_SERVER).
  virtual void setPressed(int id, bool pressed) = 0;
  virtual bool isPressed(int id) const = 0;

  // The sorted list box IDC_PARTICIPANTS. Lines are placed by `listLess` (list_order.h); every
  // line carries an integer item. Indexes count from the top; -1 means none or failure.
  virtual int listAdd(std::string_view text, int item) = 0;  // returns the new line's index
  virtual void listDelete(int index) = 0;
  virtual int listCount() const = 0;
  virtual int listItem(int index) const = 0;
  virtual std::string listText(int index) const = 0;
  virtual int listSelection() const = 0;
  virtual void listSelect(int index) = 0;

  // The modal yes/no question over the dialog. Returns true for Yes.
  virtual bool askYesNo(std::string_view question, std::string_view caption) = 0;

  // Asks the player to look (a challenge came, it became the player's turn) when the window is
  // not the active one; the window system decides how (a flashing task bar entry, say).
  virtual void requestAttention() = 0;

  // Queues a private command (CMD_REPAINT_BOARDS, CMD_OWN_BOARD_CLICK) to the dialog; it runs
  // later on the UI thread. Safe from any thread.
  virtual void post(int command, std::uint32_t argument = 0) = 0;
};

}  // namespace pentaro

#endif  // PENTARO_UI_WINDOW_H_
