// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main dialog on its own: every control as the dialog describes it, laid out in dialog units,
// focus and keys, and what reaches the procedure.
#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

#include "app/app_test_support.h"
#include "app/program_icon.h"

namespace pentaro::testing {
namespace {

struct Expected {
  int id;
  const char* cls;   // the Qt class
  const char* text;  // UTF-8
  int x, y, width, height;
};

const Expected kControls[] = {
    {IDC_CHAT_INPUT, "QLineEdit", "", 7, 206, 155, 14},
    {IDC_CHAT_SEND, "QPushButton", "発言", 163, 206, 24, 14},
    {IDC_CHAT_LOG, "QPlainTextEdit", "", 7, 109, 178, 90},
    {IDC_SERVER_ADDRESS, "QLineEdit", "", 263, 56, 61, 14},
    {IDC_CONNECT, "QPushButton", "接続", 263, 25, 61, 16},
    {-1, "QLabel", "サーバーIP：", 263, 44, 61, 8},
    {IDC_BE_SERVER, "QPushButton", "サーバーになる", 263, 7, 61, 16},
    {IDC_PARTICIPANTS, "QListWidget", "", 176, 15, 84, 69},
    {IDC_CHALLENGE, "QPushButton", "対戦", 179, 86, 37, 17},
    {IDC_PLAYER_NAME, "QLineEdit", "", 263, 85, 61, 14},
    {-1, "QLabel", "お名前：", 263, 74, 61, 8},
    {-1, "QLabel", "", 200, 189, 18, 21},  // the icon
    {IDC_STATUS, "QLabel", "未接続です", 7, 97, 166, 9},
    {-1, "QLabel", "Pentaroゲーム", 231, 187, 63, 8},
    {IDC_END_MATCH, "QPushButton", "対戦終了", 199, 106, 37, 17},
    {-1, "QGroupBox", "Version Info", 189, 173, 135, 47},
    {-1, "QLabel", "Version 1.01", 250, 197, 44, 8},
    {IDC_OWN_BOARD, "pentaro::BoardWidget", "", 7, 13, 80, 80},
    {IDC_OPPONENT_BOARD, "pentaro::BoardWidget", "", 92, 13, 80, 80},
    {IDC_SPECTATE, "QPushButton", "観戦", 220, 86, 37, 17},
    {IDC_OWN_CAPTION, "QLabel", "", 7, 1, 80, 11},
    {IDC_OPPONENT_CAPTION, "QLabel", "", 92, 1, 80, 11},
    {-1, "QLabel",
     "ルール：交互に、数字をクリックして、縦横斜め５列先に並べたら勝ちのゲーム\n"
     "  自由に選択した人と対戦、観戦ができます",
     189, 139, 135, 33},
    {IDC_PLACE_MANUALLY, "QPushButton", "自分で配置", 263, 102, 61, 17},
    {IDC_AUTO_PLACE_REST, "QPushButton", "残りを自動配置", 263, 120, 61, 17},
    {-1, "QLabel", "参加者＆★対戦情報", 178, 4, 80, 8},
};
constexpr size_t kIconIndex = 11;

QString textOf(const QWidget* w) {
  for (const char* property : {"text", "plainText", "title"}) {
    if (w->property(property).isValid()) return w->property(property).toString();
  }
  return {};
}

using AppMainDialog = DialogTest;

// Rounded half up, as dialog units become pixels.
int px(int units, int base, int divisor) { return (units * base * 2 + divisor) / (2 * divisor); }

TEST_F(AppMainDialog, HasEveryControlInCreationOrderLaidOutInDialogUnitsOfItsFont) {
  EXPECT_EQ(QFontInfo(dialog.font()).family(), QStringLiteral("IPAPGothic"));  // not boxes
  const int bx = dialog.units().baseX(), by = dialog.units().baseY();
  EXPECT_EQ(by, QFontMetrics(dialog.font()).height());
  EXPECT_TRUE(bx >= 4 && bx < by) << bx;  // about half the height, for a Japanese font
  EXPECT_EQ(dialog.size(), QSize(px(331, bx, 4), px(227, by, 8)));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Pentaroゲーム"));
  EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);

  const auto& controls = dialog.controls();
  ASSERT_EQ(controls.size(), std::size(kControls));
  for (size_t i = 0; i < controls.size(); ++i) {
    const Expected& e = kControls[i];
    QWidget* w = controls[i].widget;
    SCOPED_TRACE(::testing::Message() << "control #" << i << ", id " << e.id);
    EXPECT_EQ(controls[i].id, e.id);
    EXPECT_EQ(dialog.control(e.id), e.id == -1 ? nullptr : w);
    EXPECT_STREQ(w->metaObject()->className(), e.cls);
    EXPECT_EQ(textOf(w), QString::fromUtf8(e.text));
    EXPECT_EQ(w->isEnabled(), e.id != IDC_END_MATCH);
    // Screen readers have a name for each; the board captions are named by the players' names.
    const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    EXPECT_EQ(name.isEmpty(), e.id == IDC_OWN_CAPTION || e.id == IDC_OPPONENT_CAPTION);
    EXPECT_EQ(w->geometry(),
              QRect(QPoint(px(e.x, bx, 4), px(e.y, by, 8)),
                    i == kIconIndex ? QSize(32, 32)  // an icon static takes the icon's size
                                    : QSize(px(e.width, bx, 4), px(e.height, by, 8))));
  }
  const QSize board = dialog.control(IDC_OWN_BOARD)->size();  // five cells fill a side exactly
  EXPECT_EQ(board.width() % 5 + board.height() % 5, 0);

  const QImage icon = dialog.windowIcon().pixmap(32, 32).toImage();
  EXPECT_EQ(icon, qobject_cast<QLabel*>(controls[kIconIndex].widget)->pixmap().toImage());
  EXPECT_EQ(QColor(icon.pixel(2, 2)), QColor(Qt::red));  // the board's completed diagonal
  // Drawn at 32 px, the icon is the classic bitmap; at every size the centre lies on the diagonal.
  EXPECT_EQ(paintProgramIcon(32),
            QImage(QStringLiteral(PENTARO_ICON_XPM)).convertToFormat(QImage::Format_ARGB32));
  EXPECT_EQ(dialog.windowIcon().availableSizes().size(), kProgramIconSizes.size());
  for (const int size : kProgramIconSizes) {
    EXPECT_EQ(QColor(paintProgramIcon(size).pixel(size / 2, size / 2)), QColor(Qt::red)) << size;
  }
  for (int id : {IDC_CHAT_INPUT, IDC_SERVER_ADDRESS, IDC_PLAYER_NAME}) {
    EXPECT_NE(control<QLineEdit>(id)->validator(), nullptr) << id;  // holds what is read
  }
  EXPECT_TRUE(control<QPlainTextEdit>(IDC_CHAT_LOG)->isReadOnly());
  EXPECT_EQ(control<QListWidget>(IDC_PARTICIPANTS)->selectionMode(),
            QAbstractItemView::SingleSelection);
  EXPECT_EQ(control<QLabel>(IDC_OWN_CAPTION)->alignment(), Qt::AlignCenter);
  EXPECT_EQ(control<QLabel>(IDC_OPPONENT_CAPTION)->frameShadow(), QFrame::Sunken);
  EXPECT_EQ(control<QLabel>(IDC_STATUS)->textFormat(), Qt::PlainText);  // names are no markup
}

TEST_F(AppMainDialog, ButtonsHandOnTheirIdentifierAndTheTogglesStayPressed) {
  std::vector<bool> pressed;  // the toggle's state when its command runs
  procedure.onCommand = [&](int id) { pressed.push_back(window.isPressed(id)); };
  control(IDC_END_MATCH)->setEnabled(true);
  showActive();
  const std::vector<int> ids = {IDC_CONNECT,   IDC_CONNECT,        IDC_BE_SERVER,
                                IDC_CHAT_SEND, IDC_CHALLENGE,      IDC_END_MATCH,
                                IDC_SPECTATE,  IDC_PLACE_MANUALLY, IDC_AUTO_PLACE_REST};
  for (int id : ids) QTest::mouseClick(control(id), Qt::LeftButton);
  control(IDC_END_MATCH)->setEnabled(false);
  QTest::mouseClick(control(IDC_END_MATCH), Qt::LeftButton);
  EXPECT_EQ(procedure.commands, ids);
  EXPECT_EQ(std::vector<bool>(pressed.begin(), pressed.begin() + 3),
            (std::vector<bool>{true, false, true}));
  EXPECT_TRUE(control<QPushButton>(IDC_BE_SERVER)->isChecked());
}

int focusedId(const MainDialog& dialog) {
  for (const MainDialog::Control& c : dialog.controls()) {
    if (c.widget == QApplication::focusWidget()) return c.id;
  }
  return 0;
}

TEST_F(AppMainDialog, TabsInLayoutOrderEnterSendsTheChatEscapeStaysAndCloseShutsDownAfterAsking) {
  showActive();
  auto focused = [&] { return focusedId(dialog); };
  EXPECT_EQ(focused(), IDC_CHAT_INPUT);
  // The upper part from left to right, each block from top to bottom, then the lower left; the
  // statics and the opponent's board are no tab stops, nor is a disabled button.
  const std::vector<int> order = {IDC_CHAT_SEND,   IDC_OWN_BOARD,      IDC_PARTICIPANTS,
                                  IDC_CHALLENGE,   IDC_SPECTATE,       IDC_END_MATCH,
                                  IDC_BE_SERVER,   IDC_CONNECT,        IDC_SERVER_ADDRESS,
                                  IDC_PLAYER_NAME, IDC_PLACE_MANUALLY, IDC_AUTO_PLACE_REST,
                                  IDC_CHAT_LOG,    IDC_CHAT_INPUT};
  control(IDC_END_MATCH)->setEnabled(true);
  for (int expected : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(focused(), expected);
  }
  for (auto back = order.rbegin() + 1; back != order.rend(); ++back) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(focused(), *back);
  }
  control(IDC_END_MATCH)->setEnabled(false);
  control(IDC_SPECTATE)->setFocus();
  QTest::keyClick(control(IDC_SPECTATE), Qt::Key_Tab);
  EXPECT_EQ(focused(), IDC_BE_SERVER);
  control(IDC_CHAT_INPUT)->setFocus();
  auto key = [&](int id, Qt::Key k) {
    procedure.commands.clear();
    control(id)->setFocus();
    QTest::keyClick(control(id), k);
    return procedure.commands;
  };
  const std::vector<int> send = {IDC_CHAT_SEND}, none;
  for (int id : {IDC_CHAT_INPUT, IDC_PLAYER_NAME, IDC_PARTICIPANTS, IDC_CONNECT}) {
    EXPECT_EQ(key(id, Qt::Key_Return), send) << id;
  }
  EXPECT_EQ(key(IDC_CHAT_LOG, Qt::Key_Return), none);  // the log keeps Enter
  // A focused push button takes Enter itself and gives the default back afterwards.
  EXPECT_EQ(key(IDC_PLACE_MANUALLY, Qt::Key_Return), std::vector<int>{IDC_PLACE_MANUALLY});
  EXPECT_EQ(key(IDC_SERVER_ADDRESS, Qt::Key_Return), send);
  QSignalSpy finished(&dialog, &QDialog::finished);
  for (int id : {IDC_CHAT_INPUT, IDC_CHAT_LOG, IDC_PARTICIPANTS, IDC_CHAT_SEND}) {
    EXPECT_EQ(key(id, Qt::Key_Escape), none) << id;
  }
  procedure.playing = procedure.lobbyPlaying = true;
  {
    QuestionAnswerer no(false);  // closing mid-match asks first, once
    EXPECT_FALSE(dialog.close());
    ASSERT_EQ(no.asked.size(), 1u);
    EXPECT_EQ(no.asked[0].text, QStringLiteral("対戦中です。終了しますか？"));
  }
  procedure.playing = false;  // hosting while others play: closing ends their matches
  {
    QuestionAnswerer no(false);
    EXPECT_FALSE(dialog.close());
    ASSERT_EQ(no.asked.size(), 1u);
    EXPECT_EQ(no.asked[0].text,
              QStringLiteral("このサーバーで対戦中の人がいます。サーバーを閉じますか？"));
  }
  procedure.lobbyPlaying = false;
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(finished.count() + procedure.shutDowns, 0);
  QuestionAnswerer unasked(false);
  EXPECT_TRUE(dialog.close());
  EXPECT_TRUE(unasked.asked.empty());
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(finished.count(), 1);
  EXPECT_EQ(procedure.shutDowns, 1);
}

TEST_F(AppMainDialog, ButtonsDisabledWithTheFocusHandItToTheChatInputNeverToTheBoard) {
  showActive();
  view.connectionChanged(ConnectionState::kConnected);  // the fields are no tab stops now
  for (int clicked : {IDC_CHALLENGE, IDC_SPECTATE, IDC_AUTO_PLACE_REST}) {
    view.matchChanged(MatchState::kNone);
    control(clicked)->setFocus(Qt::MouseFocusReason);
    view.matchChanged(MatchState::kPlaying);  // as a match starts
    EXPECT_EQ(focusedId(dialog), IDC_CHAT_INPUT) << clicked;
  }
  control(IDC_END_MATCH)->setFocus(Qt::MouseFocusReason);
  view.matchChanged(MatchState::kNone);
  EXPECT_EQ(focusedId(dialog), IDC_CHAT_INPUT);
}

TEST_F(AppMainDialog, AnOwnCellPressRunsLaterAndChangedBoardsRedrawBothBoards) {
  showActive();
  ASSERT_TRUE(QTest::qWaitFor([&] { return procedure.painted.size() >= 2; }));
  procedure.painted.clear();
  auto* own = control<BoardWidget>(IDC_OWN_BOARD);
  emit own->cellPressed(3, 4);
  emit own->cellPressed(1, 0);
  EXPECT_TRUE(procedure.cells.empty());  // queued, never run inside the press
  ASSERT_TRUE(QTest::qWaitFor([&] { return procedure.cells.size() == 2; }));
  EXPECT_EQ(procedure.cells, (std::vector<RecordingProcedure::Cell>{{3, 4}, {1, 0}}));
  view.boardsChanged();
  ASSERT_TRUE(QTest::qWaitFor([&] { return procedure.painted.size() >= 2; }));
  std::sort(procedure.painted.begin(), procedure.painted.end());
  EXPECT_EQ(procedure.painted.front(), BoardSide::kOwn);
  EXPECT_EQ(procedure.painted.back(), BoardSide::kOpponent);
}

}  // namespace
}  // namespace pentaro::testing
