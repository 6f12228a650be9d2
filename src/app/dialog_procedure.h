// What the main dialog hands on: every command (a control's identifier or a posted private
// command), the painting of the two boards, and the close; and what it asks before closing. The
// dialog does not own it; all calls come on the UI thread.
#ifndef PENTARO_APP_DIALOG_PROCEDURE_H_
#define PENTARO_APP_DIALOG_PROCEDURE_H_

#include <cstdint>

#include "ui/canvas.h"

namespace pentaro {

class DialogProcedure {
 public:
  virtual ~DialogProcedure() = default;
  virtual void command(int id, std::uint32_t argument) = 0;
  // Paints the board of IDC_OWN_BOARD or IDC_OPPONENT_BOARD.
  virtual void paint(int boardControl, Canvas& canvas) = 0;
  // The dialog is being closed; the procedure ends its work while the controls still exist.
  virtual void shutDown() = 0;
  // Whether the player is in a match, which closing the dialog would abandon.
  virtual bool matchRunning() const = 0;
};

}  // namespace pentaro

#endif  // PENTARO_APP_DIALOG_PROCEDURE_H_
