// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Program as the main dialog's procedure: turns the dialog's clicks into the Program's typed
// commands, reading the edit fields and the selected participant where a command needs them.
// Holds references only; the Program, the window and the view must outlive the dialog's use of
// it (detach the procedure first). UI thread.
#ifndef PENTARO_APP_PROGRAM_PROCEDURE_H_
#define PENTARO_APP_PROGRAM_PROCEDURE_H_

#include "app/dialog_procedure.h"
#include "app/qt_view.h"
#include "app/qt_window.h"
#include "shell/program.h"

namespace pentaro {

class ProgramProcedure : public DialogProcedure {
 public:
  ProgramProcedure(Program& program, QtWindow& window, QtView& view)
      : program_(program), window_(window), view_(view) {}

  void command(int id) override;
  void clickOwnCell(int column, int row) override { program_.clickOwnCell(column, row); }
  void paint(BoardSide side, Canvas& canvas) override { program_.paint(side, canvas); }
  void shutDown() override;
  bool matchRunning() const override { return program_.playing(); }
  bool lobbyMatchesRunning() const override;

 private:
  // The name and the address as typed, handed to the program before it uses them.
  void takeFields();
  void connectToggled();
  void hostToggled();
  void sendChat();

  Program& program_;
  QtWindow& window_;
  QtView& view_;
};

}  // namespace pentaro

#endif  // PENTARO_APP_PROGRAM_PROCEDURE_H_
