// Whole lobby rounds between complete Qt players in one process over loopback, driven through the
// dialogs' controls the way users drive them: hosting and joining, chat, a challenge answered in
// the question box, a match played by clicks and watched, its end, and the server stopping.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <set>

#include "app/app_test_support.h"
#include "app/board_widget.h"
#include "app/qt_player.h"
#include "support/test_player.h"
#include "ui/controls.h"

namespace pentaro::testing {
namespace {

const QString kHost = QStringLiteral("ホスト");
const QString kBee = QStringLiteral("びー");
const QString kSea = QStringLiteral("しー");

class AppLobbyRound : public ::testing::Test {
 protected:
  AppLobbyRound() : port(freePort()) { application(); }

  std::unique_ptr<QtPlayer> player(const QString& name, std::uint32_t seed) {
    const std::string settings = folder.filePath(name + QStringLiteral(".ini")).toStdString();
    auto p = std::make_unique<QtPlayer>(port, settings, seed);
    p->edit(IDC_PLAYER_NAME)->setText(name);
    return p;
  }
  std::unique_ptr<QtPlayer> host(std::uint32_t seed) {
    auto p = player(kHost, seed);
    QTest::mouseClick(p->button(IDC_BE_SERVER), Qt::LeftButton);
    EXPECT_TRUE(waitFor([&] { return p->participantLines() == std::vector<QString>{kHost}; }))
        << p->chatText();
    return p;
  }
  std::unique_ptr<QtPlayer> guest(const QString& name, std::uint32_t seed) {
    auto p = player(name, seed);
    QTest::keyClicks(p->edit(IDC_SERVER_ADDRESS), QStringLiteral("127.0.0.1"));
    QTest::mouseClick(p->button(IDC_CONNECT), Qt::LeftButton);
    EXPECT_TRUE(waitFor([&] { return p->chatHas(name + QStringLiteral("さんの登場です")); }))
        << p->chatText();
    return p;
  }
  static bool lineStartingWith(const QtPlayer& p, const QString& text) {
    for (const QString& line : p.participantLines()) {
      if (line.startsWith(text)) return true;
    }
    return false;
  }
  static bool anyLineContains(const QtPlayer& p, const QString& text) {
    for (const QString& line : p.participantLines()) {
      if (line.contains(text)) return true;
    }
    return false;
  }
  static bool hasMarked(const Board& board, int number) {
    for (int i = 0; i < Board::kCells; ++i) {
      if (board.cellAt(i) == -number) return true;
    }
    return false;
  }
  // The idle lobby controls: both toggles released and usable, address and name editable.
  static void expectIdle(QtPlayer& p) {
    EXPECT_FALSE(p.button(IDC_CONNECT)->isChecked());
    EXPECT_FALSE(p.button(IDC_BE_SERVER)->isChecked());
    EXPECT_TRUE(p.button(IDC_CONNECT)->isEnabled());
    EXPECT_TRUE(p.button(IDC_BE_SERVER)->isEnabled());
    EXPECT_TRUE(p.edit(IDC_SERVER_ADDRESS)->isEnabled());
    EXPECT_TRUE(p.edit(IDC_PLAYER_NAME)->isEnabled());
  }
  static void expectMatchButtons(QtPlayer& p, bool playing) {
    for (int id : {IDC_CHALLENGE, IDC_SPECTATE, IDC_PLACE_MANUALLY, IDC_AUTO_PLACE_REST}) {
      EXPECT_EQ(p.button(id)->isEnabled(), !playing) << id;
    }
    EXPECT_EQ(p.button(IDC_END_MATCH)->isEnabled(), playing);
  }

  QTemporaryDir folder;
  int port;
};

TEST_F(AppLobbyRound, ThreePlayersChatPlayWatchAndGoHomeWhenTheServerStops) {
  auto a = host(101);
  ASSERT_FALSE(HasFailure());
  EXPECT_EQ(a->edit(IDC_SERVER_ADDRESS)->text(), QStringLiteral("localhost"));
  EXPECT_TRUE(a->button(IDC_BE_SERVER)->isChecked());
  EXPECT_FALSE(a->button(IDC_CONNECT)->isEnabled());
  EXPECT_FALSE(a->edit(IDC_SERVER_ADDRESS)->isEnabled());
  EXPECT_FALSE(a->edit(IDC_PLAYER_NAME)->isEnabled());

  auto b = guest(kBee, 202);
  auto c = guest(kSea, 303);
  ASSERT_FALSE(HasFailure());
  // Sorted by CP932 bytes: し (82 B5), び (82 D1), ホ (83 7A).
  const std::vector<QString> everybody = {kSea, kBee, kHost};
  for (QtPlayer* p : {a.get(), b.get(), c.get()}) {
    EXPECT_TRUE(waitFor([&] { return p->participantLines() == everybody; }))
        << p->participantLines().size() << " lines; chat:\n"
        << p->chatText();
  }
  EXPECT_TRUE(b->button(IDC_CONNECT)->isChecked());
  EXPECT_FALSE(b->button(IDC_BE_SERVER)->isEnabled());

  // Chat: typed, sent with Enter, seen by everybody once.
  QTest::keyClicks(b->edit(IDC_CHAT_INPUT), QStringLiteral("hello all"));
  QTest::keyClick(b->edit(IDC_CHAT_INPUT), Qt::Key_Return);
  EXPECT_TRUE(b->edit(IDC_CHAT_INPUT)->text().isEmpty());
  const QString chat = kBee + QStringLiteral(" : hello all");
  for (QtPlayer* p : {a.get(), b.get(), c.get()}) {
    EXPECT_TRUE(waitFor([&] { return p->chatHas(chat); })) << p->chatText();
  }
  EXPECT_EQ(QString::fromStdString(b->chatText()).count(chat), 1);

  // B challenges the host, who says Yes in the question box.
  {
    QuestionAnswerer yes(true);
    ASSERT_TRUE(b->selectParticipant(kHost));
    QTest::mouseClick(b->button(IDC_CHALLENGE), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] {
      return a->fields().playing() && b->fields().playing() &&
             a->program->boards().opponent().isFilled() &&
             b->program->boards().opponent().isFilled();
    }));
    ASSERT_EQ(yes.asked.size(), 1u);
    EXPECT_TRUE(yes.asked[0].text.contains(kBee)) << yes.asked[0].text.toStdString();
    EXPECT_EQ(yes.asked[0].parent, a->dialog.get());
  }
  expectMatchButtons(*a, true);
  expectMatchButtons(*b, true);
  expectMatchButtons(*c, false);
  EXPECT_EQ(a->label(IDC_OPPONENT_CAPTION)->text(), kBee);
  EXPECT_EQ(b->label(IDC_OPPONENT_CAPTION)->text(), kHost);
  EXPECT_TRUE(waitFor([&] { return anyLineContains(*c, QStringLiteral("★")); }));

  // C watches the host's match.
  ASSERT_TRUE(c->selectParticipant(kHost));
  QTest::mouseClick(c->button(IDC_SPECTATE), Qt::LeftButton);
  ASSERT_TRUE(waitFor([&] {
    return c->fields().watching() && c->program->boards().own().isFilled() &&
           c->program->boards().opponent().isFilled();
  }));
  EXPECT_EQ(c->status(), QStringLiteral("観戦中"));

  // The players call in turn by clicking, each the lowest open number of its own board, with a
  // different mouse button each time.
  const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
  int calls = 0;
  while (!a->program->boards().gameOver() && !b->program->boards().gameOver() && calls < 25) {
    const MatchFields fa = a->fields();
    QtPlayer& caller = fa.turnHolder == fa.ownId ? *a : *b;
    QtPlayer& other = &caller == a.get() ? *b : *a;
    const Board& own = caller.program->boards().own();
    int number = 0, column = 0, row = 0;
    for (int i = 0; i < Board::kCells; ++i) {
      const int v = own.cellAt(i);
      if (v > 0 && (number == 0 || v < number)) number = v, column = i % 5, row = i / 5;
    }
    ASSERT_GT(number, 0);
    caller.clickCell(column, row, buttons[calls % 3]);
    ++calls;
    ASSERT_TRUE(waitFor([&] { return hasMarked(other.program->boards().own(), number); }))
        << "call " << number;
    ASSERT_TRUE(waitFor([&] { return hasMarked(c->program->boards().own(), number); }));
  }
  ASSERT_TRUE(
      waitFor([&] { return a->program->boards().gameOver() && b->program->boards().gameOver(); }));
  const std::set<QString> results = {a->status(), b->status()};
  const std::set<QString> winLose = {QStringLiteral("あなたの勝ちです"),
                                     QStringLiteral("相手の勝ちです")};
  const std::set<QString> draw = {QStringLiteral("引き分けです")};
  EXPECT_TRUE(results == winLose || results == draw)
      << a->status().toStdString() << " / " << b->status().toStdString();
  EXPECT_TRUE(waitFor([&] {
    return c->status().endsWith(QStringLiteral("の勝ちです")) || c->status() == *draw.begin();
  })) << c->status().toStdString();
  // The decided match shows the opponent's board in full.
  for (QtPlayer* p : {a.get(), b.get()}) {
    BoardWidget* opponent = p->board(IDC_OPPONENT_BOARD);
    const QImage image = grabImage(*opponent);
    const QColor face = opponent->palette().color(QPalette::Button);
    const int w = opponent->width() / 5, h = opponent->height() / 5;
    for (int i = 0; i < Board::kCells; ++i) {
      EXPECT_NE(pixel(image, (i % 5) * w + 2, (i / 5) * h + 2), face) << i;
    }
  }

  // The host ends the match; both return to the lobby.
  QTest::mouseClick(a->button(IDC_END_MATCH), Qt::LeftButton);
  ASSERT_TRUE(waitFor([&] { return !a->fields().playing() && !b->fields().playing(); }));
  expectMatchButtons(*a, false);
  expectMatchButtons(*b, false);
  EXPECT_TRUE(waitFor([&] { return !anyLineContains(*c, QStringLiteral("★")); }));

  // Releasing "サーバーになる" closes every connection.
  QTest::mouseClick(a->button(IDC_BE_SERVER), Qt::LeftButton);
  for (QtPlayer* p : {a.get(), b.get(), c.get()}) {
    EXPECT_TRUE(waitFor([&] {
      return p->status() == QStringLiteral("未接続です") && p->participants()->count() == 0 &&
             !p->button(IDC_CONNECT)->isChecked();
    })) << p->status().toStdString();
    expectIdle(*p);
  }
  EXPECT_TRUE(b->chatHas(QStringLiteral("接続を閉じました")));
}

TEST_F(AppLobbyRound, ARefusedChallengeLeavesBothInTheLobby) {
  auto a = host(7);
  auto b = guest(kBee, 8);
  ASSERT_FALSE(HasFailure());
  QuestionAnswerer no(false);
  ASSERT_TRUE(waitFor([&] { return lineStartingWith(*b, kHost); }));
  ASSERT_TRUE(b->selectParticipant(kHost));
  QTest::mouseClick(b->button(IDC_CHALLENGE), Qt::LeftButton);
  ASSERT_TRUE(waitFor([&] {
    return b->chatHas(kHost + QStringLiteral("さんが　対戦をことわりました"));
  })) << b->chatText();
  EXPECT_EQ(no.asked.size(), 1u);
  EXPECT_FALSE(a->fields().playing());
  EXPECT_FALSE(b->fields().playing());
  expectMatchButtons(*a, false);
  expectMatchButtons(*b, false);
}

TEST_F(AppLobbyRound, ClosingTheHostsDialogDisconnectsEverybodyAndEndsPromptly) {
  auto a = host(1);
  auto b = guest(kBee, 2);
  ASSERT_FALSE(HasFailure());
  EXPECT_TRUE(a->dialog->close());
  EXPECT_TRUE(waitFor([&] { return b->status() == QStringLiteral("未接続です"); }));
  expectIdle(*b);
  a.reset();  // joins the host's workers; a hang here fails the test by its time-out
  QFile saved(folder.filePath(kHost + QStringLiteral(".ini")));
  EXPECT_TRUE(saved.exists());
}

}  // namespace
}  // namespace pentaro::testing
