// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Who is in the lobby and who plays whom, as every player's list shows it: an entry (name and
// opponent) per PlayerId, and the sorted lines of the list ("name", or "name ★ opponent" for a
// player in a match) in the list box's collation. The model owns both; a list box only draws the
// lines, told of every change through an Observer. Entries and lines are kept apart on purpose:
// two ADD lines for one id give two lines but one entry, and a DEL removes one line.
// Not thread-safe: one owner serialises every call.
#ifndef PENTARO_PARTICIPANTS_PARTICIPANT_MODEL_H_
#define PENTARO_PARTICIPANTS_PARTICIPANT_MODEL_H_

#include <map>
#include <string>
#include <vector>

namespace pentaro {

struct ParticipantEntry {
  std::string name;
  int opponentId = -1;
};

// One line of the list from the top, as a newcomer's welcome reads it.
struct RosterLine {
  int id = -1;
  std::string name;
  int opponent = -1;
};

class ParticipantModel {
 public:
  struct Line {
    std::string text;
    int id = -1;
  };

  // Told of every change of the lines, in order, right after it happened in the model.
  class Observer {
   public:
    virtual ~Observer() = default;
    virtual void lineInserted(int index, const Line& line) = 0;
    virtual void lineRemoved(int index) = 0;
    // A line rebuilt with a new text: it was removed at `from` (-1: the id had no line) and the new
    // one inserted at `to`.
    virtual void lineRebuilt(int from, int to, const Line& line) = 0;
    virtual void cleared() = 0;
  };

  // Not owned; null for none.
  void setObserver(Observer* observer) { observer_ = observer; }

  void addParticipant(int id, const std::string& name);
  void removeParticipant(int id);
  void startedMatch(int a, int b);
  void endedMatch(int a, int b);
  void clear();

  std::string nameOf(int id) const;
  int opponentOf(int id) const;
  const std::vector<Line>& lines() const { return lines_; }
  // The line at `index` from the top; its id is -1 outside the list.
  int idAt(int index) const;
  // Every line from the top with its participant's entry.
  std::vector<RosterLine> rosterLines() const;

 private:
  void rebuildLine(int id);
  int insertLine(Line line);
  // Removes the upper line of `id`; returns its index, or -1 when the id has none.
  int removeLine(int id);

  Observer* observer_ = nullptr;
  std::map<int, ParticipantEntry> entries_;
  std::vector<Line> lines_;  // sorted by listLess; lines of equal text in the order added
};

}  // namespace pentaro

#endif  // PENTARO_PARTICIPANTS_PARTICIPANT_MODEL_H_
