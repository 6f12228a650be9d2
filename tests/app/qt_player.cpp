#include "app/qt_player.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include "app/board_widget.h"
#include "ui/controls.h"

namespace pentaro::testing {

QtPlayer::QtPlayer(int port, const std::string& settingsPath, std::uint32_t seed)
    : dialog(std::make_unique<MainDialog>()), window(std::make_unique<QtWindow>(*dialog)) {
  Program::Options options;
  options.port = port;
  options.settingsPath = settingsPath;
  program = std::make_unique<Program>(*window, ui, options);
  procedure = std::make_unique<ProgramProcedure>(*program);
  program->random().setState(seed);
  dialog->setProcedure(procedure.get());
  program->initDialog();
  dialog->show();
}

QtPlayer::~QtPlayer() {
  // The order of main(): detach, release waiting workers, stop them with the Program, then the
  // dialog.
  dialog->setProcedure(nullptr);
  ui.shutDown();
  program.reset();
  window.reset();
  dialog.reset();
}

QAbstractButton* QtPlayer::button(int id) const {
  return qobject_cast<QAbstractButton*>(dialog->control(id));
}
QLineEdit* QtPlayer::edit(int id) const { return qobject_cast<QLineEdit*>(dialog->control(id)); }
QLabel* QtPlayer::label(int id) const { return qobject_cast<QLabel*>(dialog->control(id)); }
QListWidget* QtPlayer::participants() const {
  return qobject_cast<QListWidget*>(dialog->control(IDC_PARTICIPANTS));
}
QPlainTextEdit* QtPlayer::chatLog() const {
  return qobject_cast<QPlainTextEdit*>(dialog->control(IDC_CHAT_LOG));
}
BoardWidget* QtPlayer::board(int id) const {
  return qobject_cast<BoardWidget*>(dialog->control(id));
}

QString QtPlayer::status() const { return label(IDC_STATUS)->text(); }

std::vector<QString> QtPlayer::participantLines() const {
  std::vector<QString> lines;
  for (int i = 0; i < participants()->count(); ++i)
    lines.push_back(participants()->item(i)->text());
  return lines;
}

bool QtPlayer::chatHas(const QString& line) const {
  return chatLog()->toPlainText().split(QLatin1Char('\n')).contains(line);
}

std::string QtPlayer::chatText() const { return chatLog()->toPlainText().toStdString(); }

void QtPlayer::clickCell(int column, int row, Qt::MouseButton mouseButton) {
  BoardWidget* own = board(IDC_OWN_BOARD);
  const int cellWidth = own->width() / 5, cellHeight = own->height() / 5;
  QTest::mouseClick(own, mouseButton, Qt::NoModifier,
                    QPoint(column * cellWidth + cellWidth / 2, row * cellHeight + cellHeight / 2));
}

bool QtPlayer::selectParticipant(const QString& name) {
  QListWidget* list = participants();
  for (int i = 0; i < list->count(); ++i) {
    if (!list->item(i)->text().startsWith(name)) continue;
    const QRect at = list->visualItemRect(list->item(i));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at.center());
    return list->currentRow() == i && list->item(i)->isSelected();
  }
  return false;
}

}  // namespace pentaro::testing
