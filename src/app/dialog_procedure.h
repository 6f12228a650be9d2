// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the main dialog hands on: the clicks of its buttons and toggles (by control identifier),
// a click on an own board's cell, the painting of the two boards, and the close; and what the
// dialog asks before closing. The dialog does not own it; all calls come on the UI thread.
#ifndef PENTARO_APP_DIALOG_PROCEDURE_H_
#define PENTARO_APP_DIALOG_PROCEDURE_H_

#include "shell/program.h"
#include "ui/canvas.h"

namespace pentaro {

class DialogProcedure {
 public:
  virtual ~DialogProcedure() = default;
  // A button or toggle with identifier `id` was clicked (a toggle has flipped already).
  virtual void command(int id) = 0;
  // A cell of the own board was clicked or pressed with the keyboard; always run later than the
  // press, never inside it.
  virtual void clickOwnCell(int column, int row) = 0;
  virtual void paint(BoardSide side, Canvas& canvas) = 0;
  // The dialog is being closed; the procedure ends its work while the controls still exist (and
  // may still tell the player something in a box of its own).
  virtual void shutDown() = 0;
  // Whether the player is in a match, which closing the dialog would abandon.
  virtual bool matchRunning() const = 0;
  // Whether this program hosts the lobby and players in it are in a match, which closing the
  // dialog or releasing "サーバーになる" would end.
  virtual bool lobbyMatchesRunning() const = 0;
};

}  // namespace pentaro

#endif  // PENTARO_APP_DIALOG_PROCEDURE_H_
