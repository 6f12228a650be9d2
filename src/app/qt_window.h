// The Window of the game and lobby logic over the main dialog's Qt controls. Texts cross here
// between CP932 bytes and Qt's strings; the list box keeps each line's CP932 text so that it sorts
// the way every front end does. Does not own the dialog, which must outlive it. UI thread only,
// except `post`.
#ifndef PENTARO_APP_QT_WINDOW_H_
#define PENTARO_APP_QT_WINDOW_H_

#include <string>

#include "ui/window.h"

class QListWidget;
class QWidget;

namespace pentaro {

class MainDialog;

class QtWindow : public Window {
 public:
  explicit QtWindow(MainDialog& dialog);

  void setText(int id, std::string_view text) override;
  std::string text(int id, int maxBytes) const override;
  int textLength(int id) const override;
  void appendText(int id, std::string_view text) override;
  void setEnabled(int id, bool enabled) override;
  bool isEnabled(int id) const override;
  void setPressed(int id, bool pressed) override;
  bool isPressed(int id) const override;
  int listAdd(std::string_view text, int item) override;
  void listDelete(int index) override;
  int listCount() const override;
  int listItem(int index) const override;
  std::string listText(int index) const override;
  int listSelection() const override;
  void listSelect(int index) override;
  bool askYesNo(std::string_view question, std::string_view caption) override;
  void requestAttention() override;
  // The same question over any window of the program, such as the dialog's own on closing.
  static bool ask(QWidget& parent, std::string_view question, std::string_view caption);
  void post(int command, std::uint32_t argument) override;

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
