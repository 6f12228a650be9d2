// The Program as the main dialog's procedure. Holds a reference only; the Program must outlive
// the dialog's use of it (detach the procedure first). UI thread.
#ifndef PENTARO_APP_PROGRAM_PROCEDURE_H_
#define PENTARO_APP_PROGRAM_PROCEDURE_H_

#include "app/dialog_procedure.h"
#include "shell/program.h"

namespace pentaro {

class ProgramProcedure : public DialogProcedure {
 public:
  explicit ProgramProcedure(Program& program) : program_(program) {}

  void command(int id, std::uint32_t argument) override { program_.command(id, argument); }
  void paint(int boardControl, Canvas& canvas) override { program_.paint(boardControl, canvas); }
  void shutDown() override { program_.shutDown(); }
  bool matchRunning() const override { return program_.client().fields().playing(); }

 private:
  Program& program_;
};

}  // namespace pentaro

#endif  // PENTARO_APP_PROGRAM_PROCEDURE_H_
