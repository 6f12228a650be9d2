// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A LobbyView without a window system: it keeps what a window would show (the status line, the
// chat log, the participant lines and a selection, the names above the boards, the states of the
// toggles and buttons), made into Japanese text as the Qt window makes it. Used by the tests, which
// read it back from any thread, hence the lock. The challenge question is answered by a function
// the owner installs; without one the answer is No.
#ifndef PENTARO_UI_HEADLESS_VIEW_H_
#define PENTARO_UI_HEADLESS_VIEW_H_

#include <functional>
#include <string>
#include <vector>

#include "base/mutex.h"
#include "base/thread_annotations.h"
#include "ui/chat_log.h"
#include "ui/lobby_view.h"

namespace pentaro {

class HeadlessView : public LobbyView {
 public:
  // Gets the question and the box's caption as the window shows them; true accepts.
  using Answerer = std::function<bool(const std::string& question, const std::string& caption)>;

  HeadlessView();

  void setAnswerer(Answerer answerer);

  void connectionChanged(ConnectionState state) override;
  void statusChanged(const Status& status) override;
  void noticeAdded(const Notice& notice) override;
  void chatAdded(std::string_view name, std::string_view text) override;
  void hostMessageAdded(std::string_view text) override;
  void settingsChanged(std::string_view name, std::string_view address) override;
  void participantInserted(int index, std::string_view text, int id) override;
  void participantRemoved(int index) override;
  void participantRebuilt(int from, int to, std::string_view text, int id) override;
  void participantsCleared() override;
  void matchChanged(MatchState state) override;
  void captionsChanged(std::string_view left, std::string_view right) override;
  void boardsChanged() override;
  bool askChallenge(std::string_view name) override;
  void requestAttention() override;

  // What the window would show; texts in CP932.
  std::string status() const;
  std::vector<std::string> statusHistory() const;
  std::string chatLog() const;                   // every line ended by CR LF
  std::vector<std::string> chatHistory() const;  // each line added, with its CR LF
  std::string leftCaption() const;
  std::string rightCaption() const;
  ConnectionState connection() const;
  MatchState match() const;
  std::string name() const;     // as the core last told it
  std::string address() const;  // likewise
  std::vector<std::string> listLines() const;
  int listItem(int index) const;  // the PlayerId of a line; -1 outside the list
  int selection() const;          // -1 for none
  void select(int index);
  // The PlayerId of the selected line; -1 with none.
  int selectedId() const;
  // Selects the line of `id`; false when there is none.
  bool selectId(int id);
  int questionsAsked() const;
  int attentionRequests() const;
  int repaintRequests() const;

 private:
  struct Line {
    std::string text;
    int id = -1;
  };

  void insertLine(int index, std::string_view text, int id) PENTARO_REQUIRES(mutex_);
  void removeLine(int index) PENTARO_REQUIRES(mutex_);
  void addToLog(std::string_view line);

  mutable Mutex mutex_;
  Answerer answerer_ PENTARO_GUARDED_BY(mutex_);
  std::string status_ PENTARO_GUARDED_BY(mutex_);
  std::vector<std::string> statusHistory_ PENTARO_GUARDED_BY(mutex_);
  ChatLog chatLog_ PENTARO_GUARDED_BY(mutex_);
  std::vector<std::string> chatHistory_ PENTARO_GUARDED_BY(mutex_);
  std::string leftCaption_ PENTARO_GUARDED_BY(mutex_);
  std::string rightCaption_ PENTARO_GUARDED_BY(mutex_);
  ConnectionState connection_ PENTARO_GUARDED_BY(mutex_) = ConnectionState::kIdle;
  MatchState match_ PENTARO_GUARDED_BY(mutex_) = MatchState::kNone;
  std::string name_ PENTARO_GUARDED_BY(mutex_);
  std::string address_ PENTARO_GUARDED_BY(mutex_);
  std::vector<Line> lines_ PENTARO_GUARDED_BY(mutex_);
  int selection_ PENTARO_GUARDED_BY(mutex_) = -1;
  int questions_ PENTARO_GUARDED_BY(mutex_) = 0;
  int attentionRequests_ PENTARO_GUARDED_BY(mutex_) = 0;
  int repaints_ PENTARO_GUARDED_BY(mutex_) = 0;
};

}  // namespace pentaro

#endif  // PENTARO_UI_HEADLESS_VIEW_H_
