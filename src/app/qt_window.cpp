// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/qt_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <memory>

#include "app/controls.h"
#include "app/main_dialog.h"
#include "app/qt_text.h"
#include "app/question_box.h"
#include "text/cp932.h"
#include "text/language.h"

namespace pentaro {
namespace {

// Each list line keeps the PlayerId and its CP932 text.
constexpr int kItemRole = Qt::UserRole;
constexpr int kTextRole = Qt::UserRole + 1;

// The question box's buttons in the program's language when Qt has no translation of its own.
constexpr const char* kYesLabel = translatable("はい(&Y)");
constexpr const char* kNoLabel = translatable("いいえ(&N)");

// Qt takes its standard buttons' labels from its "QPlatformTheme" texts, which only a loaded
// translation changes.
bool qtButtonsTranslated() {
  constexpr char kQtYes[] = "&Yes";
  return QCoreApplication::translate("QPlatformTheme", kQtYes) != QLatin1String(kQtYes);
}

std::string itemText(const QListWidgetItem* item) {
  const QByteArray bytes = item->data(kTextRole).toByteArray();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace

QtWindow::QtWindow(MainDialog& dialog) : dialog_(dialog) {}

QListWidget* QtWindow::list() const {
  return qobject_cast<QListWidget*>(dialog_.control(IDC_PARTICIPANTS));
}

void QtWindow::setText(int id, std::string_view text) {
  QWidget* widget = dialog_.control(id);
  if (widget == nullptr) return;
  if (id == IDC_CHAT_LOG) {
    chatLog_.clear();
    logLineOpen_ = false;
    if (auto* log = qobject_cast<QPlainTextEdit*>(widget)) log->clear();
    appendText(id, text);
    return;
  }
  const QString qtext = toQString(text);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(qtext);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(qtext);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(qtext);
  } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
    box->setTitle(qtext);
  }
}

std::string QtWindow::fullText(int id) const {
  if (id == IDC_CHAT_LOG) return chatLog_;
  const QWidget* widget = dialog_.control(id);
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return toCp932(edit->text());
  if (auto* label = qobject_cast<const QLabel*>(widget)) return toCp932(label->text());
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return toCp932(button->text());
  if (auto* box = qobject_cast<const QGroupBox*>(widget)) return toCp932(box->title());
  return {};
}

std::string QtWindow::text(int id, int maxBytes) const {
  if (maxBytes <= 0) return {};
  return std::string(cp932::truncate(fullText(id), static_cast<std::size_t>(maxBytes)));
}

int QtWindow::textLength(int id) const { return static_cast<int>(fullText(id).size()); }

void QtWindow::appendText(int id, std::string_view text) {
  if (id != IDC_CHAT_LOG) {
    setText(id, fullText(id).append(text));
    return;
  }
  chatLog_.append(text);
  showInLog(text);
}

void QtWindow::showInLog(std::string_view text) {
  auto* log = qobject_cast<QPlainTextEdit*>(dialog_.control(IDC_CHAT_LOG));
  if (log == nullptr) return;
  QString shown = toQString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  if (shown.isEmpty()) return;
  if (logLineOpen_) shown.prepend(QLatin1Char('\n'));
  logLineOpen_ = shown.endsWith(QLatin1Char('\n'));
  if (logLineOpen_) shown.chop(1);

  // Added at the end without disturbing what the user has selected; the view follows the end.
  QTextCursor end(log->document());
  end.movePosition(QTextCursor::End);
  end.insertText(shown);
  log->verticalScrollBar()->setValue(log->verticalScrollBar()->maximum());
}

void QtWindow::setEnabled(int id, bool enabled) {
  QWidget* widget = dialog_.control(id);
  if (widget == nullptr) return;
  // Qt hands the focus of a control being disabled to the next tab stop, which may be the own
  // board, as when the clicked "対戦" is disabled at a match's start: the focus would wander to
  // wherever the tab order goes. The chat input takes it instead, as it has it at the start.
  QWidget* chatInput = dialog_.control(IDC_CHAT_INPUT);
  if (!enabled && dialog_.focusWidget() == widget && chatInput != nullptr && chatInput != widget) {
    chatInput->setFocus(Qt::OtherFocusReason);
  }
  // An edit that a drop-down list has taken in (the address field and its found lobbies) goes
  // with its box, so that the box's arrow looks as usable as the field is.
  auto* box = qobject_cast<QComboBox*>(widget->parentWidget());
  if (box != nullptr && box->lineEdit() == widget) widget = box;
  widget->setEnabled(enabled);
}

bool QtWindow::isEnabled(int id) const {
  const QWidget* widget = dialog_.control(id);
  return widget != nullptr && widget->isEnabled();
}

void QtWindow::setPressed(int id, bool pressed) {
  if (auto* button = qobject_cast<QAbstractButton*>(dialog_.control(id))) {
    button->setChecked(pressed);
  }
}

bool QtWindow::isPressed(int id) const {
  auto* button = qobject_cast<const QAbstractButton*>(dialog_.control(id));
  return button != nullptr && button->isChecked();
}

void QtWindow::listInsert(int index, std::string_view text, int item) {
  QListWidget* box = list();
  if (box == nullptr) return;
  if (index < 0 || index > box->count()) index = box->count();
  auto line = std::make_unique<QListWidgetItem>(toQString(text));
  line->setData(kItemRole, item);
  line->setData(kTextRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  // A line too long for the list is shortened in the middle; the pointer shows all of it.
  line->setToolTip(line->text());
  box->insertItem(index, line.release());  // the list widget owns its items
}

void QtWindow::listDelete(int index) {
  QListWidget* box = list();
  if (box == nullptr || index < 0 || index >= box->count()) return;
  const bool wasSelected = box->item(index)->isSelected();
  std::unique_ptr<QListWidgetItem> taken(box->takeItem(index));
  // Qt would move the selection to a neighbour; a deleted selected line leaves none, so that a
  // following "対戦" or "観戦" never goes to somebody the user did not pick.
  if (wasSelected) {
    box->clearSelection();
    box->setCurrentRow(-1);
  }
}

int QtWindow::listCount() const {
  const QListWidget* box = list();
  return box == nullptr ? 0 : box->count();
}

int QtWindow::listItem(int index) const {
  const QListWidget* box = list();
  if (box == nullptr || index < 0 || index >= box->count()) return -1;
  return box->item(index)->data(kItemRole).toInt();
}

std::string QtWindow::listText(int index) const {
  const QListWidget* box = list();
  if (box == nullptr || index < 0 || index >= box->count()) return {};
  return itemText(box->item(index));
}

int QtWindow::listSelection() const {
  const QListWidget* box = list();
  if (box == nullptr) return -1;
  const QList<QListWidgetItem*> selected = box->selectedItems();
  return selected.isEmpty() ? -1 : box->row(selected.front());
}

void QtWindow::listSelect(int index) {
  QListWidget* box = list();
  if (box == nullptr) return;
  if (index >= 0 && index < box->count()) {
    box->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
  } else {
    box->clearSelection();
  }
}

bool QtWindow::ask(QWidget& parent, std::string_view question, std::string_view caption) {
  QuestionBox box(toQString(caption), toQString(question), &parent);
  box.setFont(MainDialog::dialogFont());
  // With Qt's Japanese translation loaded (main), Qt names the buttons itself; without it Qt's
  // labels are English, so they are named here.
  if (!qtButtonsTranslated()) {
    box.button(QMessageBox::Yes)->setText(QString::fromUtf8(localizedUtf8(kYesLabel)));
    box.button(QMessageBox::No)->setText(QString::fromUtf8(localizedUtf8(kNoLabel)));
  }
  box.setDefaultButton(QMessageBox::Yes);
  box.setWindowModality(Qt::WindowModal);
  return box.exec() == QMessageBox::Yes;
}

bool QtWindow::askInDialog(std::string_view question, std::string_view caption) {
  return ask(dialog_, question, caption);
}

void QtWindow::warn(std::string_view message, std::string_view caption) {
  QMessageBox box(QMessageBox::Warning, toQString(caption), toQString(message), QMessageBox::Ok,
                  &dialog_);
  box.setFont(MainDialog::dialogFont());
  box.setWindowModality(Qt::WindowModal);
  box.exec();
}

void QtWindow::requestAttention() {
  if (!dialog_.isActiveWindow()) QApplication::alert(&dialog_);
}

}  // namespace pentaro
