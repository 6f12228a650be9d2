// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main dialog's Qt controls addressed by identifier, as the dialog's view and procedure use
// them. Texts cross here between CP932 bytes and Qt's strings; the list box keeps each line's
// PlayerId and CP932 text. Does not own the dialog, which must outlive it. UI thread only.
#ifndef PENTARO_APP_QT_WINDOW_H_
#define PENTARO_APP_QT_WINDOW_H_

#include <string>
#include <string_view>

class QListWidget;
class QWidget;

namespace pentaro {

class MainDialog;

class QtWindow {
 public:
  explicit QtWindow(MainDialog& dialog);

  void setText(int id, std::string_view text);
  // Never more than `maxBytes` bytes, and never half a two-byte character.
  std::string text(int id, int maxBytes) const;
  int textLength(int id) const;
  void appendText(int id, std::string_view text);
  void setEnabled(int id, bool enabled);
  bool isEnabled(int id) const;
  void setPressed(int id, bool pressed);
  bool isPressed(int id) const;
  // Inserts a line at `index` (clamped to the list) carrying `item`.
  void listInsert(int index, std::string_view text, int item);
  void listDelete(int index);
  int listCount() const;
  int listItem(int index) const;
  std::string listText(int index) const;
  int listSelection() const;
  void listSelect(int index);
  void requestAttention();
  // The same question over any window of the program, such as the dialog's own on closing.
  static bool ask(QWidget& parent, std::string_view question, std::string_view caption);
  // The question over the dialog; true for Yes.
  bool askInDialog(std::string_view question, std::string_view caption);
  // A warning over the dialog, shown until the player acknowledges it.
  void warn(std::string_view message, std::string_view caption);

 private:
  std::string fullText(int id) const;
  void showInLog(std::string_view text);
  QListWidget* list() const;

  MainDialog& dialog_;
  // The chat log as the logic wrote it, CR LF included; the widget shows it one line per line.
  std::string chatLog_;
  // The log's last line ended with a line break that the widget does not show yet: a visible
  // break would leave an empty line at the bottom.
  bool logLineOpen_ = false;
};

}  // namespace pentaro

#endif  // PENTARO_APP_QT_WINDOW_H_
