// The collation of the participant list box, shared by every Window implementation so that the
// list reads in the same order on every front end (the lobby server's welcome follows it).
#ifndef PENTARO_UI_LIST_ORDER_H_
#define PENTARO_UI_LIST_ORDER_H_

#include <string>
#include <string_view>

namespace pentaro {

// Byte order of the CP932 texts with ASCII letters compared case-insensitively.
bool listLess(std::string_view a, std::string_view b);

// The index at which a sorted list box puts a new line: after every line that does not sort
// after it, so lines of equal text keep the order in which they were added.
template <typename TextAt>
int sortedInsertIndex(int count, std::string_view text, TextAt textAt) {
  int i = 0;
  while (i < count && !listLess(text, textAt(i))) ++i;
  return i;
}

}  // namespace pentaro

#endif  // PENTARO_UI_LIST_ORDER_H_
