// Who is in the lobby and who plays whom: a map from PlayerId to name and opponent, shown as the
// sorted list box IDC_PARTICIPANTS (a player in a match shows " ★ " and the opponent's name).
// Changed only by the server's ADD, DEL and STLIST lines and emptied when the connection ends.
//
// Threads: the owner (the UI thread, or whoever serialises the calls) makes every change; after
// each change a copy of the lines is published under snapshotMutex_, which `rosterLines` reads
// from any thread (the lobby server's welcome).
#ifndef PENTARO_CLIENT_PARTICIPANT_LIST_H_
#define PENTARO_CLIENT_PARTICIPANT_LIST_H_

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "net/message_fields.h"
#include "ui/roster_view.h"
#include "ui/window.h"

namespace pentaro {

struct ParticipantEntry {
  std::string name;
  int opponentId = -1;
};

class ParticipantList : public RosterView {
 public:
  ParticipantList() = default;

  // Attaches the list box; until then every list-box operation does nothing.
  void attach(Window* window);

  void addParticipant(int id, const std::string& name);
  void removeParticipant(int id);
  void startedMatch(int a, int b);
  void endedMatch(int a, int b);
  void clearAll();

  std::string nameOf(int id) const;
  int opponentOf(int id) const;
  // The PlayerId of the selected line; -1 with no selection or no list box.
  int selectedId() const;

  std::vector<RosterLine> rosterLines() const override;

 private:
  void refreshLine(int id);
  void addLine(const std::string& text, int id);
  void removeLine(int id);
  void clearLines();
  void publish();

  Window* window_ = nullptr;
  std::map<int, ParticipantEntry> entries_;

  mutable std::mutex snapshotMutex_;
  std::vector<RosterLine> snapshot_;  // guarded by snapshotMutex_
};

// Applies a server announcement that changes the list (ADD, DEL, STLIST); other lines are
// ignored. Returns true when the line was one of them.
bool applyRosterLine(ParticipantList& list, const MessageFields& fields);

}  // namespace pentaro

#endif  // PENTARO_CLIENT_PARTICIPANT_LIST_H_
