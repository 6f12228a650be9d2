// The participant list as the lobby server reads it for a newcomer's welcome: each line of the
// list box from the top, with the participant's name and current opponent. Safe from any thread.
#ifndef PENTARO_UI_ROSTER_VIEW_H_
#define PENTARO_UI_ROSTER_VIEW_H_

#include <string>
#include <vector>

namespace pentaro {

struct RosterLine {
  int id = -1;
  std::string name;
  int opponent = -1;
};

class RosterView {
 public:
  virtual ~RosterView() = default;
  virtual std::vector<RosterLine> rosterLines() const = 0;
};

}  // namespace pentaro

#endif  // PENTARO_UI_ROSTER_VIEW_H_
