// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main dialog: every control of the program's one window, laid out in dialog units of the
// dialog font, with a tab order that follows the layout. It hands clicks, board painting and the
// close to a DialogProcedure; a click on an own cell is handed on later, never inside the press.
// Owns its controls through Qt parents; UI thread only.
#ifndef PENTARO_APP_MAIN_DIALOG_H_
#define PENTARO_APP_MAIN_DIALOG_H_

#include <QDialog>
#include <QFont>
#include <QIcon>
#include <map>
#include <vector>

#include "app/dialog_units.h"

namespace pentaro {

class BoardWidget;
class DialogProcedure;

class MainDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kNoId = -1;  // the labels, the icon and the group box
  static constexpr int kWidthUnits = 331;
  static constexpr int kHeightUnits = 227;

  struct Control {
    int id;
    QWidget* widget;
  };

  explicit MainDialog(QWidget* parent = nullptr);
  ~MainDialog() override;

  // The dialog font (IPAPGothic 9 pt), which also gives the dialog units.
  static QFont dialogFont();
  static QIcon programIcon();

  // Not owned; null detaches (nothing is handed on any more).
  void setProcedure(DialogProcedure* procedure);

  // The control with identifier `id`; null when there is none.
  QWidget* control(int id) const;
  // Every control, labels included, in creation order.
  const std::vector<Control>& controls() const { return controls_; }
  const DialogUnits& units() const { return units_; }

  // Both boards are painted again (soon, by Qt's update).
  void repaintBoards();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  void orderTabStops();
  // Hands the control's clicks, cell presses or keys to the dialog.
  void connectControl(int id, QWidget* widget);
  void runCommand(int id);
  void clickOwnCell(int column, int row);

  const DialogUnits units_;
  std::vector<Control> controls_;
  std::map<int, QWidget*> byId_;
  BoardWidget* ownBoard_ = nullptr;
  BoardWidget* opponentBoard_ = nullptr;
  QWidget* chatLog_ = nullptr;
  DialogProcedure* procedure_ = nullptr;
  bool shutDown_ = false;
};

}  // namespace pentaro

#endif  // PENTARO_APP_MAIN_DIALOG_H_
