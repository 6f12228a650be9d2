// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/main_dialog.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <string>

#include "app/board_widget.h"
#include "app/controls.h"
#include "app/cp932_validator.h"
#include "app/dialog_procedure.h"
#include "app/participant_delegate.h"
#include "app/program_icon.h"
#include "app/qt_text.h"
#include "app/qt_window.h"
#include "text/language.h"
#include "text/texts.h"

namespace pentaro {
namespace {

constexpr char kFontFamily[] = "IPAPGothic";
constexpr int kFontPoints = 9;
constexpr int kIconStaticPixels = 32;  // the classic icon's size, in device-independent pixels

enum class Kind {
  kEdit,           // single line, auto-scrolling, 78 CP932 bytes
  kChatLog,        // multi-line, read-only, vertical scroll bar
  kDefaultButton,  // takes Enter from the edits, the list box and the toggles
  kButton,
  kToggle,  // a check box drawn as a push button: stays pressed
  kLabel,   // left-aligned, wrapping
  kCenteredLabel,
  kSunkenLabel,    // left-aligned, wrapping, sunken edge
  kSunkenCaption,  // centred both ways, sunken edge
  kIcon,
  kGroupBox,
  kListBox,
  kBoard,
};

struct ControlTemplate {
  int id;
  Kind kind;
  std::string Texts::*text;  // null: no text
  // What screen readers call it, the catalog's msgid in UTF-8; null: its own text, which stays
  // current.
  const char* accessibleName;
  int x, y, width, height;  // dialog units
  bool disabled = false;
};

// The controls in creation order (which screen readers list, and which the tab order below
// replaces).
const ControlTemplate kTemplate[] = {
    {IDC_CHAT_INPUT, Kind::kEdit, nullptr, translatable("発言の入力"), 7, 206, 155, 14},
    {IDC_CHAT_SEND, Kind::kDefaultButton, &Texts::chatSendButton, nullptr, 163, 206, 24, 14},
    {IDC_CHAT_LOG, Kind::kChatLog, nullptr, translatable("チャットの記録"), 7, 109, 178, 90},
    {IDC_SERVER_ADDRESS, Kind::kEdit, nullptr, translatable("サーバーIP"), 263, 56, 61, 14},
    {IDC_CONNECT, Kind::kToggle, &Texts::connectButton, nullptr, 263, 25, 61, 16},
    {MainDialog::kNoId, Kind::kLabel, &Texts::serverAddressLabel, nullptr, 263, 44, 61, 8},
    {IDC_BE_SERVER, Kind::kToggle, &Texts::beServerButton, nullptr, 263, 7, 61, 16},
    {IDC_PARTICIPANTS, Kind::kListBox, nullptr, translatable("参加者＆★対戦情報"), 176, 15, 84, 69},
    {IDC_CHALLENGE, Kind::kButton, &Texts::challengeButton, nullptr, 179, 86, 37, 17},
    {IDC_PLAYER_NAME, Kind::kEdit, nullptr, translatable("お名前"), 263, 85, 61, 14},
    {MainDialog::kNoId, Kind::kLabel, &Texts::playerNameLabel, nullptr, 263, 74, 61, 8},
    {MainDialog::kNoId, Kind::kIcon, nullptr, translatable("アイコン"), 200, 189, 18, 21},
    {IDC_STATUS, Kind::kLabel, &Texts::notConnected, nullptr, 7, 97, 166, 9},
    {MainDialog::kNoId, Kind::kLabel, &Texts::programTitle, nullptr, 231, 187, 63, 8},
    {IDC_END_MATCH, Kind::kButton, &Texts::endMatchButton, nullptr, 199, 106, 37, 17, true},
    {MainDialog::kNoId, Kind::kGroupBox, &Texts::versionFrame, nullptr, 189, 173, 135, 47},
    {MainDialog::kNoId, Kind::kLabel, &Texts::version, nullptr, 250, 197, 44, 8},
    {IDC_OWN_BOARD, Kind::kBoard, nullptr, translatable("自分の盤"), 7, 13, 80, 80},
    {IDC_OPPONENT_BOARD, Kind::kBoard, nullptr, translatable("相手の盤"), 92, 13, 80, 80},
    {IDC_SPECTATE, Kind::kButton, &Texts::spectateButton, nullptr, 220, 86, 37, 17},
    {IDC_OWN_CAPTION, Kind::kSunkenCaption, nullptr, nullptr, 7, 1, 80, 11},
    {IDC_OPPONENT_CAPTION, Kind::kSunkenCaption, nullptr, nullptr, 92, 1, 80, 11},
    {MainDialog::kNoId, Kind::kSunkenLabel, &Texts::ruleText, nullptr, 189, 139, 135, 33},
    {IDC_PLACE_MANUALLY, Kind::kButton, &Texts::placeManuallyButton, nullptr, 263, 102, 61, 17},
    {IDC_AUTO_PLACE_REST, Kind::kButton, &Texts::autoPlaceRestButton, nullptr, 263, 120, 61, 17},
    {MainDialog::kNoId, Kind::kCenteredLabel, &Texts::participantsHeading, nullptr, 178, 4, 80, 8},
};

// The tab order, read off the layout (x, y in dialog units above): first the upper part from
// left to right, each block from top to bottom: the own board (7, 13; the opponent's board is no
// tab stop); the list (176, 15) with "対戦" (179, 86) and "観戦" (220, 86) in a row below it and
// "対戦終了" (199, 106) under them; the right-hand column from "サーバーになる" (263, 7) down to
// "残りを自動配置" (263, 120). Then the lower left from top to bottom: the log (7, 109), the chat
// input (7, 206) and "発言" (163, 206) beside it. From "発言", Tab wraps to the own board.
constexpr int kTabOrder[] = {
    IDC_OWN_BOARD,       IDC_PARTICIPANTS, IDC_CHALLENGE,      IDC_SPECTATE,    IDC_END_MATCH,
    IDC_BE_SERVER,       IDC_CONNECT,      IDC_SERVER_ADDRESS, IDC_PLAYER_NAME, IDC_PLACE_MANUALLY,
    IDC_AUTO_PLACE_REST, IDC_CHAT_LOG,     IDC_CHAT_INPUT,     IDC_CHAT_SEND,
};

QLabel* makeLabel(const QString& text, Qt::Alignment alignment, bool wrap, bool sunken,
                  QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(alignment);
  label->setWordWrap(wrap);
  if (sunken) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

QLabel* makeIcon(QWidget* parent) {
  // An icon static takes the icon's own size at its position, drawn for the screen's scale.
  const QSize size(kIconStaticPixels, kIconStaticPixels);
  auto* label = makeLabel(QString(), Qt::AlignLeft | Qt::AlignTop, false, false, parent);
  label->setPixmap(MainDialog::programIcon().pixmap(size, parent->devicePixelRatioF()));
  return label;
}

QPushButton* makeButton(const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
}

QPushButton* makeDefaultButton(const QString& text, QWidget* parent) {
  auto* button = makeButton(text, parent);
  button->setAutoDefault(true);
  button->setDefault(true);
  return button;
}

QPushButton* makeToggle(const QString& text, QWidget* parent) {
  auto* button = makeButton(text, parent);
  button->setCheckable(true);
  // Enter with a toggle focused belongs to the default button; Space toggles it.
  button->setAutoDefault(false);
  return button;
}

QLineEdit* makeEdit(QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  // The field holds no more than the program reads from it, in characters that arrive.
  edit->setValidator(new Cp932Validator(kTextReadBytes, edit));
  return edit;
}

QPlainTextEdit* makeChatLog(QWidget* parent) {
  auto* log = new QPlainTextEdit(parent);
  log->setReadOnly(true);
  log->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  log->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  log->setTabChangesFocus(true);
  log->setUndoRedoEnabled(false);
  log->setFocusPolicy(Qt::StrongFocus);
  return log;
}

QGroupBox* makeGroupBox(const QString& text, QWidget* parent) {
  auto* box = new QGroupBox(text, parent);
  box->setFocusPolicy(Qt::NoFocus);
  return box;
}

QListWidget* makeListBox(QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSortingEnabled(false);  // the Window keeps the program's own order
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setUniformItemSizes(true);
  // "じろう ★ コンピュータ(つよい)" is wider than the list: both names keep their ends.
  list->setItemDelegate(new ParticipantDelegate(list));
  list->setTextElideMode(Qt::ElideMiddle);
  list->setFocusPolicy(Qt::StrongFocus);
  return list;
}

QWidget* makeControl(const ControlTemplate& t, QWidget* parent) {
  const QString text = t.text != nullptr ? toQString(texts().*(t.text)) : QString();
  constexpr Qt::Alignment kTopLeft = Qt::AlignLeft | Qt::AlignTop;
  switch (t.kind) {
    case Kind::kEdit:
      return makeEdit(parent);
    case Kind::kChatLog:
      return makeChatLog(parent);
    case Kind::kDefaultButton:
      return makeDefaultButton(text, parent);
    case Kind::kButton:
      return makeButton(text, parent);
    case Kind::kToggle:
      return makeToggle(text, parent);
    case Kind::kLabel:
      return makeLabel(text, kTopLeft, true, false, parent);
    case Kind::kCenteredLabel:
      return makeLabel(text, Qt::AlignHCenter | Qt::AlignTop, true, false, parent);
    case Kind::kSunkenLabel:
      return makeLabel(text, kTopLeft, true, true, parent);
    case Kind::kSunkenCaption:
      return makeLabel(text, Qt::AlignCenter, false, true, parent);
    case Kind::kIcon:
      return makeIcon(parent);
    case Kind::kGroupBox:
      return makeGroupBox(text, parent);
    case Kind::kListBox:
      return makeListBox(parent);
    case Kind::kBoard:
      return new BoardWidget(t.id, parent);
  }
  return nullptr;  // every kind is listed above
}

}  // namespace

MainDialog::MainDialog(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      units_(dialogFont()) {
  setFont(dialogFont());
  setWindowTitle(toQString(texts().programTitle));
  setWindowIcon(programIcon());
  setFixedSize(units_.toPixelsX(kWidthUnits), units_.toPixelsY(kHeightUnits));
  createControls();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  // The chat input has the focus when the dialog opens: typing goes to the chat.
  control(IDC_CHAT_INPUT)->setFocus();
}

MainDialog::~MainDialog() = default;

QFont MainDialog::dialogFont() {
  QFont font(QString::fromLatin1(kFontFamily));
  font.setPointSize(kFontPoints);
  return font;
}

QIcon MainDialog::programIcon() { return pentaro::programIcon(); }

void MainDialog::createControls() {
  for (const ControlTemplate& t : kTemplate) {
    QWidget* widget = makeControl(t, this);
    QRect geometry = units_.toPixels(t.x, t.y, t.width, t.height);
    if (t.kind == Kind::kIcon) geometry.setSize(QSize(kIconStaticPixels, kIconStaticPixels));
    widget->setGeometry(geometry);
    widget->setEnabled(!t.disabled);
    if (t.accessibleName != nullptr)
      widget->setAccessibleName(QString::fromUtf8(localizedUtf8(t.accessibleName)));
    connectControl(t.id, widget);
    controls_.push_back(Control{t.id, widget});
    if (t.id != kNoId) byId_[t.id] = widget;
  }
  // The frame lies behind the icon and the texts it surrounds; the tab order is set apart.
  for (const Control& c : controls_) {
    if (qobject_cast<QGroupBox*>(c.widget) != nullptr) c.widget->lower();
  }
  orderTabStops();
}

void MainDialog::orderTabStops() {
  for (std::size_t i = 1; i < std::size(kTabOrder); ++i) {
    QWidget::setTabOrder(control(kTabOrder[i - 1]), control(kTabOrder[i]));
  }
}

void MainDialog::connectControl(int id, QWidget* widget) {
  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    connect(button, &QPushButton::clicked, this, [this, id] { runCommand(id); });
  } else if (id == IDC_OWN_BOARD) {
    ownBoard_ = static_cast<BoardWidget*>(widget);
    // Queued: the click runs after the press has been handled, as a posted message would.
    connect(ownBoard_, &BoardWidget::cellPressed, this, &MainDialog::clickOwnCell,
            Qt::QueuedConnection);
  } else if (id == IDC_OPPONENT_BOARD) {
    opponentBoard_ = static_cast<BoardWidget*>(widget);
  } else if (id == IDC_CHAT_LOG) {
    chatLog_ = widget;
    chatLog_->installEventFilter(this);
  }
}

void MainDialog::setProcedure(DialogProcedure* procedure) {
  procedure_ = procedure;
  ownBoard_->setProcedure(procedure);
  opponentBoard_->setProcedure(procedure);
  ownBoard_->update();
  opponentBoard_->update();
}

QWidget* MainDialog::control(int id) const {
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : it->second;
}

void MainDialog::repaintBoards() {
  ownBoard_->update();
  opponentBoard_->update();
}

void MainDialog::runCommand(int id) {
  if (procedure_ != nullptr) procedure_->command(id);
}

void MainDialog::clickOwnCell(int column, int row) {
  if (procedure_ != nullptr) procedure_->clickOwnCell(column, row);
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
  // Escape never ends the dialog; only the close box, the window menu and Alt+F4 do.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
  // The chat log keeps Enter to itself, as a multi-line edit does, instead of sending the chat.
  if (watched == chatLog_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void MainDialog::closeEvent(QCloseEvent* event) {
  if (!shutDown_) {
    // Quitting mid-match leaves the opponent alone, and closing a hosted lobby ends the matches
    // in it: only on purpose.
    const std::string* question = nullptr;
    if (procedure_ != nullptr && procedure_->matchRunning()) {
      question = &texts().quitWhilePlaying;
    } else if (procedure_ != nullptr && procedure_->lobbyMatchesRunning()) {
      question = &texts().closeWhileOthersPlay;
    }
    if (question != nullptr && !QtWindow::ask(*this, *question, texts().boxCaption)) {
      event->ignore();
      return;
    }
    shutDown_ = true;
    if (procedure_ != nullptr) procedure_->shutDown();
  }
  event->accept();
  done(0);
}

}  // namespace pentaro
