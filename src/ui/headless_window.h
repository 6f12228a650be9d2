// A Window without a window system: controls are records in memory. Used by the tests (which read
// the controls back from any thread, hence the lock) and by front ends without a display. The
// yes/no question is answered by a function the owner installs; without one the answer is No.
#ifndef PENTARO_UI_HEADLESS_WINDOW_H_
#define PENTARO_UI_HEADLESS_WINDOW_H_

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/mutex.h"
#include "base/thread_annotations.h"
#include "ui/window.h"

namespace pentaro {

class HeadlessWindow : public Window {
 public:
  using Answerer = std::function<bool(const std::string& question, const std::string& caption)>;
  using PostHandler = std::function<void(int command, std::uint32_t argument)>;

  HeadlessWindow();

  void setAnswerer(Answerer answerer);
  void setPostHandler(PostHandler handler);
  // Whether every text given to a control is kept for textHistory (the default). A front end that
  // runs for days turns it off, so that memory stays flat.
  void setKeepsHistory(bool keep);

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
  void post(int command, std::uint32_t argument) override;

  // For tests: the whole text of a control, every text it was ever given, the list box's lines
  // from the top, how many questions were asked and how often attention was requested.
  std::string fullText(int id) const;
  std::vector<std::string> textHistory(int id) const;
  std::vector<std::string> listLines() const;
  int questionsAsked() const;
  int attentionRequests() const;

 private:
  struct Control {
    std::string text;
    std::vector<std::string> history;
    bool enabled = true;
    bool pressed = false;
  };
  struct Line {
    std::string text;
    int item = 0;
  };

  mutable Mutex mutex_;
  std::map<int, Control> controls_ PENTARO_GUARDED_BY(mutex_);
  std::vector<Line> lines_ PENTARO_GUARDED_BY(mutex_);
  int selection_ PENTARO_GUARDED_BY(mutex_) = -1;
  int questions_ PENTARO_GUARDED_BY(mutex_) = 0;
  int attentionRequests_ PENTARO_GUARDED_BY(mutex_) = 0;
  bool keepsHistory_ PENTARO_GUARDED_BY(mutex_) = true;
  Answerer answerer_ PENTARO_GUARDED_BY(mutex_);
  PostHandler postHandler_ PENTARO_GUARDED_BY(mutex_);
};

}  // namespace pentaro

#endif  // PENTARO_UI_HEADLESS_WINDOW_H_
