// The main dialog on its own: every control as the dialog describes it, the layout in dialog
// units, focus and keys, and what reaches the procedure.
#include "app/main_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>
#include <thread>

#include "app/app_test_support.h"
#include "app/board_widget.h"
#include "app/qt_window.h"
#include "ui/controls.h"

namespace pentaro::testing {
namespace {

enum class Class { kEdit, kChatLog, kButton, kLabel, kIcon, kGroupBox, kListBox, kBoard };

struct Expected {
  int id;
  Class cls;
  const char* text;  // UTF-8
  int x, y, width, height;
  bool enabled = true;
};

const Expected kControls[] = {
    {IDC_CHAT_INPUT, Class::kEdit, "", 7, 206, 155, 14},
    {IDC_CHAT_SEND, Class::kButton, "発言", 163, 206, 24, 14},
    {IDC_CHAT_LOG, Class::kChatLog, "", 7, 109, 178, 90},
    {IDC_SERVER_ADDRESS, Class::kEdit, "", 263, 56, 61, 14},
    {IDC_CONNECT, Class::kButton, "接続", 263, 25, 61, 16},
    {-1, Class::kLabel, "サーバーIP：", 263, 44, 61, 8},
    {IDC_BE_SERVER, Class::kButton, "サーバーになる", 263, 7, 61, 16},
    {IDC_PARTICIPANTS, Class::kListBox, "", 176, 15, 84, 69},
    {IDC_CHALLENGE, Class::kButton, "対戦", 179, 86, 37, 17},
    {IDC_PLAYER_NAME, Class::kEdit, "", 263, 85, 61, 14},
    {-1, Class::kLabel, "お名前：", 263, 74, 61, 8},
    {-1, Class::kIcon, "", 200, 189, 18, 21},
    {IDC_STATUS, Class::kLabel, "未接続です", 7, 97, 166, 9},
    {-1, Class::kLabel, "Pentaroゲーム", 231, 187, 63, 8},
    {IDC_END_MATCH, Class::kButton, "対戦終了", 199, 106, 37, 17, false},
    {-1, Class::kGroupBox, "Version Info", 189, 173, 135, 47},
    {-1, Class::kLabel, "Version 1.01", 250, 197, 44, 8},
    {IDC_OWN_BOARD, Class::kBoard, "", 7, 13, 80, 80},
    {IDC_OPPONENT_BOARD, Class::kBoard, "", 92, 13, 80, 80},
    {IDC_SPECTATE, Class::kButton, "観戦", 220, 86, 37, 17},
    {IDC_OWN_CAPTION, Class::kLabel, "", 7, 1, 80, 11},
    {IDC_OPPONENT_CAPTION, Class::kLabel, "", 92, 1, 80, 11},
    {-1, Class::kLabel,
     "ルール：交互に、数字をクリックして、縦横斜め５列先に並べたら勝ちのゲーム\n"
     "  自由に選択した人と対戦、観戦ができます",
     189, 139, 135, 33},
    {IDC_PLACE_MANUALLY, Class::kButton, "自分で配置", 263, 102, 61, 17},
    {IDC_AUTO_PLACE_REST, Class::kButton, "残りを自動配置", 263, 120, 61, 17},
    {-1, Class::kLabel, "参加者＆★対戦情報", 178, 4, 80, 8},
};

bool hasClass(QWidget* w, Class cls) {
  switch (cls) {
    case Class::kEdit:
      return qobject_cast<QLineEdit*>(w) != nullptr;
    case Class::kChatLog:
      return qobject_cast<QPlainTextEdit*>(w) != nullptr;
    case Class::kButton:
      return qobject_cast<QPushButton*>(w) != nullptr;
    case Class::kLabel:
    case Class::kIcon:
      return qobject_cast<QLabel*>(w) != nullptr;
    case Class::kGroupBox:
      return qobject_cast<QGroupBox*>(w) != nullptr;
    case Class::kListBox:
      return qobject_cast<QListWidget*>(w) != nullptr;
    case Class::kBoard:
      return qobject_cast<BoardWidget*>(w) != nullptr;
  }
  return false;
}

QString textOf(QWidget* w) {
  if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
  if (auto* log = qobject_cast<QPlainTextEdit*>(w)) return log->toPlainText();
  if (auto* button = qobject_cast<QPushButton*>(w)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  if (auto* box = qobject_cast<QGroupBox*>(w)) return box->title();
  return {};
}

class AppMainDialog : public ::testing::Test {
 protected:
  AppMainDialog() {
    application();
    dialog = std::make_unique<MainDialog>();
    dialog->setProcedure(&procedure);
  }
  ~AppMainDialog() override { dialog->setProcedure(nullptr); }

  void showActive() {
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  }
  template <typename T>
  T* control(int id) {
    return qobject_cast<T*>(dialog->control(id));
  }
  int focusedId() {
    for (const MainDialog::Control& c : dialog->controls()) {
      if (c.widget == QApplication::focusWidget()) return c.id;
    }
    return 0;
  }

  RecordingProcedure procedure;
  std::unique_ptr<MainDialog> dialog;
};

TEST_F(AppMainDialog, HasEveryControlInCreationOrderWithItsClassTextAndState) {
  const auto& controls = dialog->controls();
  ASSERT_EQ(controls.size(), std::size(kControls));
  for (size_t i = 0; i < controls.size(); ++i) {
    const Expected& e = kControls[i];
    SCOPED_TRACE(::testing::Message() << "control #" << i << " id " << e.id);
    EXPECT_EQ(controls[i].id, e.id);
    EXPECT_TRUE(hasClass(controls[i].widget, e.cls));
    EXPECT_EQ(controls[i].widget->parentWidget(), dialog.get());
    EXPECT_EQ(textOf(controls[i].widget), QString::fromUtf8(e.text));
    EXPECT_EQ(controls[i].widget->isEnabled(), e.enabled);
    if (e.id != -1) {
      EXPECT_EQ(dialog->control(e.id), controls[i].widget);
    }
  }
  // The focus chain follows the creation order, whatever the stacking order (inner widgets of
  // the controls, such as scroll bars, are passed over).
  std::vector<QWidget*> chain;
  for (QWidget* w = dialog->nextInFocusChain(); w != dialog.get(); w = w->nextInFocusChain()) {
    for (const MainDialog::Control& c : controls) {
      if (c.widget == w) chain.push_back(w);
    }
  }
  ASSERT_EQ(chain.size(), controls.size());
  for (size_t i = 0; i < controls.size(); ++i) EXPECT_EQ(chain[i], controls[i].widget) << i;
  // No OK or Cancel button: Enter and Escape never end the dialog through one.
  EXPECT_EQ(dialog->control(1), nullptr);
  EXPECT_EQ(dialog->control(2), nullptr);
}

TEST_F(AppMainDialog, LaysOutEveryControlInDialogUnitsOfTheDialogFont) {
  EXPECT_EQ(QFontInfo(dialog->font()).family(), QStringLiteral("IPAPGothic"));
  EXPECT_EQ(dialog->font().pointSize(), 9);
  const DialogUnits& units = dialog->units();
  const QFontMetrics metrics(dialog->font());
  EXPECT_EQ(units.baseY(), metrics.height());
  // The average letter width, rounded to a whole pixel.
  const double average = metrics.horizontalAdvance(QStringLiteral(
                             "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                         52.0;
  EXPECT_LE(std::abs(units.baseX() - average), 1.0);
  EXPECT_GE(units.baseX(), 4);

  EXPECT_EQ(dialog->size(), QSize(DialogUnits::mulDiv(331, units.baseX(), 4),
                                  DialogUnits::mulDiv(227, units.baseY(), 8)));
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());  // not resizable

  const auto& controls = dialog->controls();
  for (size_t i = 0; i < controls.size(); ++i) {
    const Expected& e = kControls[i];
    SCOPED_TRACE(::testing::Message() << "control #" << i << " id " << e.id);
    const QRect g = controls[i].widget->geometry();
    EXPECT_EQ(g.x(), (e.x * units.baseX() * 2 + 4) / 8);
    EXPECT_EQ(g.y(), (e.y * units.baseY() * 2 + 8) / 16);
    if (e.cls == Class::kIcon) {
      EXPECT_EQ(g.size(), QSize(32, 32));  // an icon static takes the icon's size
    } else {
      EXPECT_EQ(g.width(), (e.width * units.baseX() * 2 + 4) / 8);
      EXPECT_EQ(g.height(), (e.height * units.baseY() * 2 + 8) / 16);
    }
    EXPECT_TRUE(dialog->rect().contains(g)) << "outside the dialog";
  }
  // 80 units are 20 horizontal and 10 vertical base units: five cells fill each side exactly.
  for (int id : {IDC_OWN_BOARD, IDC_OPPONENT_BOARD}) {
    const QSize size = dialog->control(id)->size();
    EXPECT_EQ(size, QSize(20 * units.baseX(), 10 * units.baseY()));
    EXPECT_EQ(size.width() % 5, 0);
    EXPECT_EQ(size.height() % 5, 0);
  }
}

TEST_F(AppMainDialog, DialogUnitsRoundLikeMulDiv) {
  EXPECT_EQ(DialogUnits::mulDiv(7, 6, 4), 11);   // 10.5 rounds up
  EXPECT_EQ(DialogUnits::mulDiv(5, 6, 4), 8);    // 7.5
  EXPECT_EQ(DialogUnits::mulDiv(3, 5, 4), 4);    // 3.75
  EXPECT_EQ(DialogUnits::mulDiv(9, 13, 8), 15);  // 14.625
  EXPECT_EQ(DialogUnits::mulDiv(-5, 6, 4), -8);  // away from zero
  EXPECT_EQ(DialogUnits::mulDiv(1, 1, 0), -1);
  const DialogUnits units(6, 12);
  EXPECT_EQ(units.toPixels(7, 206, 155, 14), QRect(11, 309, 233, 21));
}

TEST_F(AppMainDialog, CarriesTheCaptionAndTheProgramIcon) {
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Pentaroゲーム"));
  EXPECT_FALSE(dialog->windowIcon().isNull());
  EXPECT_TRUE(dialog->windowIcon().availableSizes().contains(QSize(32, 32)));
  EXPECT_TRUE(dialog->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);

  QLabel* icon = nullptr;
  for (size_t i = 0; i < dialog->controls().size(); ++i) {
    if (kControls[i].cls == Class::kIcon)
      icon = qobject_cast<QLabel*>(dialog->controls()[i].widget);
  }
  ASSERT_NE(icon, nullptr);
  const QImage image = icon->pixmap().toImage();
  ASSERT_EQ(image.size(), QSize(32, 32));
  // The same picture as the window icon: a board with a red diagonal in a black grid.
  EXPECT_EQ(image, dialog->windowIcon().pixmap(32, 32).toImage());
  EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(Qt::black));
  EXPECT_EQ(QColor(image.pixel(2, 2)), QColor(Qt::red));
  EXPECT_EQ(QColor(image.pixel(25, 25)), QColor(Qt::red));
  EXPECT_EQ(qAlpha(image.pixel(31, 0)), 0);  // transparent corner
}

TEST_F(AppMainDialog, StylesTheControlsAsTheDialogDescribesThem) {
  for (int id : {IDC_CHAT_INPUT, IDC_SERVER_ADDRESS, IDC_PLAYER_NAME}) {
    EXPECT_EQ(control<QLineEdit>(id)->maxLength(), 80) << id;
  }
  auto* log = control<QPlainTextEdit>(IDC_CHAT_LOG);
  EXPECT_TRUE(log->isReadOnly());
  EXPECT_EQ(log->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

  EXPECT_TRUE(control<QPushButton>(IDC_CHAT_SEND)->isDefault());
  for (int id : {IDC_CONNECT, IDC_BE_SERVER}) {
    EXPECT_TRUE(control<QPushButton>(id)->isCheckable()) << id;
    EXPECT_FALSE(control<QPushButton>(id)->isChecked()) << id;
  }
  for (int id : {IDC_CHALLENGE, IDC_END_MATCH, IDC_SPECTATE, IDC_PLACE_MANUALLY,
                 IDC_AUTO_PLACE_REST, IDC_CHAT_SEND}) {
    EXPECT_FALSE(control<QPushButton>(id)->isCheckable()) << id;
  }
  auto* list = control<QListWidget>(IDC_PARTICIPANTS);
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_FALSE(list->isSortingEnabled());

  for (int id : {IDC_OWN_CAPTION, IDC_OPPONENT_CAPTION}) {
    auto* caption = control<QLabel>(id);
    EXPECT_EQ(caption->alignment(), Qt::AlignCenter) << id;
    EXPECT_EQ(caption->frameShadow(), QFrame::Sunken) << id;
    EXPECT_NE(caption->frameShape(), QFrame::NoFrame) << id;
  }
  auto* status = control<QLabel>(IDC_STATUS);
  EXPECT_EQ(status->textFormat(), Qt::PlainText);  // names are never read as markup
  EXPECT_TRUE(status->alignment() & Qt::AlignLeft);
}

TEST_F(AppMainDialog, OpensWithTheFocusInTheChatInputAndTabsInCreationOrder) {
  showActive();
  EXPECT_EQ(focusedId(), IDC_CHAT_INPUT);
  // The toggles, the statics, the boards and the disabled "対戦終了" are no tab stops.
  const std::vector<int> chain = {
      IDC_CHAT_SEND,   IDC_CHAT_LOG, IDC_SERVER_ADDRESS, IDC_PARTICIPANTS,    IDC_CHALLENGE,
      IDC_PLAYER_NAME, IDC_SPECTATE, IDC_PLACE_MANUALLY, IDC_AUTO_PLACE_REST, IDC_CHAT_INPUT};
  for (int expected : chain) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(focusedId(), expected);
  }
  dialog->control(IDC_END_MATCH)->setEnabled(true);
  dialog->control(IDC_PLAYER_NAME)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(focusedId(), IDC_END_MATCH);
}

TEST_F(AppMainDialog, EveryButtonHandsItsIdentifierToTheProcedure) {
  dialog->control(IDC_END_MATCH)->setEnabled(true);
  showActive();
  const std::vector<int> buttons = {IDC_CHAT_SEND,      IDC_CONNECT,        IDC_BE_SERVER,
                                    IDC_CHALLENGE,      IDC_END_MATCH,      IDC_SPECTATE,
                                    IDC_PLACE_MANUALLY, IDC_AUTO_PLACE_REST};
  for (int id : buttons) {
    auto* button = control<QPushButton>(id);
    QTest::mouseClick(button, Qt::LeftButton);
  }
  ASSERT_EQ(procedure.commands.size(), buttons.size());
  for (size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(procedure.commands[i], (RecordingProcedure::Command{buttons[i], 0}));
  }
  // A disabled button sends nothing.
  dialog->control(IDC_END_MATCH)->setEnabled(false);
  QTest::mouseClick(control<QPushButton>(IDC_END_MATCH), Qt::LeftButton);
  EXPECT_EQ(procedure.commands.size(), buttons.size());
}

TEST_F(AppMainDialog, TogglesStayPressedAndHaveChangedWhenTheirCommandArrives) {
  QtWindow window(*dialog);
  std::vector<bool> pressedAtCommand;
  procedure.onCommand = [&](int id) { pressedAtCommand.push_back(window.isPressed(id)); };
  showActive();
  auto* connect = control<QPushButton>(IDC_CONNECT);
  QTest::mouseClick(connect, Qt::LeftButton);
  EXPECT_TRUE(connect->isChecked());
  QTest::mouseClick(connect, Qt::LeftButton);
  EXPECT_FALSE(connect->isChecked());
  QTest::mouseClick(control<QPushButton>(IDC_BE_SERVER), Qt::LeftButton);
  EXPECT_EQ(pressedAtCommand, (std::vector<bool>{true, false, true}));
}

TEST_F(AppMainDialog, EnterSendsTheChatFromTheEditsTheListAndTheTogglesButNotFromTheLog) {
  showActive();
  auto enterIn = [&](int id) {
    procedure.commands.clear();
    dialog->control(id)->setFocus();
    QTest::keyClick(dialog->control(id), Qt::Key_Return);
    return procedure.commands;
  };
  const std::vector<RecordingProcedure::Command> send = {{IDC_CHAT_SEND, 0}};
  EXPECT_EQ(enterIn(IDC_CHAT_INPUT), send);
  EXPECT_EQ(enterIn(IDC_SERVER_ADDRESS), send);
  EXPECT_EQ(enterIn(IDC_PLAYER_NAME), send);
  EXPECT_EQ(enterIn(IDC_PARTICIPANTS), send);
  EXPECT_EQ(enterIn(IDC_CONNECT), send);
  EXPECT_TRUE(enterIn(IDC_CHAT_LOG).empty());
  // A focused push button takes Enter for itself.
  EXPECT_EQ(enterIn(IDC_PLACE_MANUALLY),
            (std::vector<RecordingProcedure::Command>{{IDC_PLACE_MANUALLY, 0}}));
  // ... and gives the default back when the focus moves on.
  EXPECT_EQ(enterIn(IDC_CHAT_INPUT), send);
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(AppMainDialog, TheChatInputTakesEightyCharacters) {
  showActive();
  auto* input = control<QLineEdit>(IDC_CHAT_INPUT);
  QTest::keyClicks(input, QString(85, QLatin1Char('x')));
  EXPECT_EQ(input->text().size(), 80);
}

TEST_F(AppMainDialog, EscapeNeverCloses) {
  showActive();
  QSignalSpy finished(dialog.get(), &QDialog::finished);
  for (int id : {IDC_CHAT_INPUT, IDC_CHAT_LOG, IDC_PARTICIPANTS, IDC_CHAT_SEND}) {
    dialog->control(id)->setFocus();
    QTest::keyClick(dialog->control(id), Qt::Key_Escape);
  }
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(finished.count(), 0);
  EXPECT_EQ(procedure.shutDowns, 0);
  EXPECT_TRUE(procedure.commands.empty());
}

TEST_F(AppMainDialog, ClosingRunsTheShutDownOnceAndEndsTheDialog) {
  showActive();
  QSignalSpy finished(dialog.get(), &QDialog::finished);
  EXPECT_TRUE(dialog->close());
  EXPECT_EQ(procedure.shutDowns, 1);
  EXPECT_FALSE(dialog->isVisible());
  ASSERT_EQ(finished.count(), 1);
  EXPECT_EQ(finished.at(0).at(0).toInt(), 0);
}

TEST_F(AppMainDialog, PostedCommandsRunLaterOnTheUiThread) {
  dialog->post(CMD_OWN_BOARD_CLICK, 3 | 4u << 16);
  EXPECT_TRUE(procedure.commands.empty());  // queued, never run inline
  std::thread worker([&] { dialog->post(CMD_OWN_BOARD_CLICK, 1); });
  worker.join();
  ASSERT_TRUE(waitFor([&] { return procedure.commands.size() == 2; }));
  EXPECT_EQ(procedure.commands[0],
            (RecordingProcedure::Command{CMD_OWN_BOARD_CLICK, 3 | 4u << 16}));
  EXPECT_EQ(procedure.commands[1], (RecordingProcedure::Command{CMD_OWN_BOARD_CLICK, 1}));
}

TEST_F(AppMainDialog, ARepaintRequestRedrawsBothBoardsWithoutACommand) {
  showActive();
  ASSERT_TRUE(waitFor([&] { return procedure.painted.size() >= 2; }));
  procedure.painted.clear();
  dialog->post(CMD_REPAINT_BOARDS, 0);
  ASSERT_TRUE(waitFor([&] {
    return std::count(procedure.painted.begin(), procedure.painted.end(), IDC_OWN_BOARD) >= 1 &&
           std::count(procedure.painted.begin(), procedure.painted.end(), IDC_OPPONENT_BOARD) >= 1;
  }));
  EXPECT_TRUE(procedure.commands.empty());
}

}  // namespace
}  // namespace pentaro::testing
