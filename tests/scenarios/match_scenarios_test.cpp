// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Challenges, matches and watching between complete players over loopback.
#include <future>

#include "scenarios/scenario.h"

namespace pentaro::testing {
namespace {

using ::testing::ElementsAre;

class MatchScenario : public Scenario {
 protected:
  // A state from which the next draw with the bound 4 gives `wanted`.
  static std::uint32_t stateDrawing(int wanted) {
    for (std::uint32_t s = 1;; ++s) {
      RandomSource r;
      r.setState(s);
      if (r.next(4) == wanted) return s;
    }
  }
  static bool marked(const Board& board, int number) {
    for (int i = 0; i < Board::kCells; ++i) {
      if (board.cellAt(i) == -number) return true;
    }
    return false;
  }
};

TEST_F(MatchScenario, AcceptedChallengeStartsTheMatchOnBothSides) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  TestPlayer& chika = join("ちか");
  // Bob's draw gives 3: he moves second and the challenger first.
  bob.run([&] { bob.program->random().setState(stateDrawing(3)); });
  const Board bobsBoard = bob.ownBoard();
  startMatch(aki, bob);

  EXPECT_EQ(aki.status(), "先手です");
  EXPECT_EQ(bob.status(), "後手です");
  EXPECT_TRUE(bob.chatHas("* あきさん　から、対戦の申し込みがありました"));
  EXPECT_TRUE(aki.chatHas("ぼぶさんが　対戦を了承してくれました"));
  for (TestPlayer* p : {&aki, &bob}) {
    EXPECT_TRUE(p->waitForChat("マップ受信完了"));
    EXPECT_TRUE(p->chatHas("ゲームが始まりました"));
    EXPECT_FALSE(!p->inMatchControls());
    EXPECT_TRUE(p->inMatchControls());
    EXPECT_FALSE(!p->inMatchControls());
  }
  EXPECT_EQ(aki.opponentBoard(), bobsBoard);
  EXPECT_EQ(bob.opponentBoard(), aki.ownBoard());
  EXPECT_EQ(utf8(aki.view.leftCaption()), "あき");
  EXPECT_EQ(utf8(aki.view.rightCaption()), "ぼぶ");
  EXPECT_EQ(bob.view.questionsAsked(), 1);
  EXPECT_TRUE(waitUntil([&] {
    return chika.participants().size() == 3 && chika.participants()[0] == "あき ★ ぼぶ";
  }));
  EXPECT_THAT(chika.participants(), ElementsAre("あき ★ ぼぶ", "ちか", "ぼぶ ★ あき"));

  // It is Aki's turn; a click on Bob's board does nothing.
  bob.call(bob.ownBoard().cell(0, 0));
  aki.call(7);
  ASSERT_TRUE(waitUntil([&] { return marked(bob.ownBoard(), 7); }));
  EXPECT_TRUE(marked(aki.ownBoard(), 7));
  EXPECT_TRUE(marked(aki.opponentBoard(), 7));
  EXPECT_EQ(aki.status(), "相手の番です");
  EXPECT_EQ(bob.status(), "あなたの番です");
}

TEST_F(MatchScenario, TheAcceptingSideMovesFirstWithAnEvenDraw) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  bob.run([&] { bob.program->random().setState(stateDrawing(2)); });
  startMatch(aki, bob);
  EXPECT_EQ(aki.status(), "後手です");
  EXPECT_EQ(bob.status(), "先手です");
  EXPECT_EQ(bob.fields().turnHolder, bob.id());
}

TEST_F(MatchScenario, AMatchIsPlayedToAWinAndEndedByHand) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  TestPlayer& chika = join("ちか");
  startMatch(aki, bob);
  const int calls = playToTheEnd(aki, bob);
  ASSERT_TRUE(waitUntil([&] { return aki.gameOver() && bob.gameOver(); }));
  EXPECT_GE(calls, 5);

  for (TestPlayer* p : {&aki, &bob}) {
    const bool ownFive = p->ownBoard().hasFiveLines();
    const bool otherFive = p->opponentBoard().hasFiveLines();
    const std::string expected = ownFive && otherFive ? "引き分けです"
                                 : ownFive            ? "あなたの勝ちです"
                                                      : "相手の勝ちです";
    EXPECT_TRUE(ownFive || otherFive);
    EXPECT_EQ(p->status(), expected);
  }
  // Both programs saw the same calls.
  EXPECT_EQ(aki.ownBoard(), bob.opponentBoard());
  EXPECT_EQ(bob.ownBoard(), aki.opponentBoard());

  // Clicks on a decided match do nothing.
  const Board before = aki.ownBoard();
  for (int n = 1; n <= 25; ++n) aki.call(n);
  EXPECT_EQ(aki.ownBoard(), before);

  // "対戦終了" ends it on both sides, and everybody's list shows it.
  aki.endMatch();
  ASSERT_TRUE(bob.waitForChat("ゲームが終わりました"));
  for (TestPlayer* p : {&aki, &bob}) {
    EXPECT_FALSE(p->fields().playing());
    EXPECT_FALSE(p->gameOver());
    EXPECT_EQ(p->status(), "対戦待ち・・・");
    EXPECT_EQ(utf8(p->view.rightCaption()), "");
    EXPECT_TRUE(!p->inMatchControls());
    EXPECT_FALSE(p->inMatchControls());
    EXPECT_EQ(p->opponentBoard(), Board());
  }
  EXPECT_TRUE(waitUntil(
      [&] { return chika.participants().size() == 3 && chika.participants()[0] == "あき"; }));
  EXPECT_THAT(chika.participants(), ElementsAre("あき", "ちか", "ぼぶ"));
}

TEST_F(MatchScenario, IdenticalBoardsEndInADraw) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  placeInIndexOrder(aki);
  placeInIndexOrder(bob);
  EXPECT_EQ(aki.status(), "配置完了");
  EXPECT_EQ(aki.ownBoard(), bob.ownBoard());
  startMatch(bob, aki);
  playToTheEnd(aki, bob);
  ASSERT_TRUE(waitUntil([&] { return aki.gameOver() && bob.gameOver(); }));
  EXPECT_EQ(aki.status(), "引き分けです");
  EXPECT_EQ(bob.status(), "引き分けです");
}

TEST_F(MatchScenario, RefusalAndBusyAnswers) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  TestPlayer& chika = join("ちか");

  // No answer given is a refusal.
  ASSERT_TRUE(aki.selectParticipant(bob.id()));
  aki.challengeSelected();
  EXPECT_TRUE(aki.chatHas("対戦申し込み中・・・"));
  ASSERT_TRUE(aki.waitForChat("ぼぶさんが　対戦をことわりました"));
  EXPECT_FALSE(aki.fields().playing());
  EXPECT_FALSE(bob.fields().playing());

  // A player in a match answers by itself, without a question.
  startMatch(aki, bob);
  const int asked = aki.view.questionsAsked();
  ASSERT_TRUE(chika.selectParticipant(aki.id()));
  chika.challengeSelected();
  ASSERT_TRUE(chika.waitForChat("あきさんは、今、ぼぶさんと、対戦中です。"));
  EXPECT_TRUE(aki.chatHas("* ちかさん　から、対戦の申し込みがありました"));
  EXPECT_TRUE(aki.chatHas("対戦中なので、無視します・・・"));
  EXPECT_EQ(aki.view.questionsAsked(), asked);

  // While playing, "対戦" and "観戦" do nothing.
  const std::string log = aki.chatLog();
  ASSERT_TRUE(aki.selectParticipant(chika.id()));
  aki.challengeSelected();
  aki.watchSelected();
  EXPECT_EQ(aki.chatLog(), log);
}

TEST_F(MatchScenario, ChallengingOrWatchingTheOwnLineIsRefusedAndKeepsTheBoard) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  placeInIndexOrder(aki);  // a board placed by hand, which nothing may reshuffle
  const Board placed = aki.ownBoard();
  aki.selectParticipant(aki.id());
  aki.challengeSelected();
  EXPECT_TRUE(aki.chatHas("自分とは対戦できません。参加者の一覧から相手を選んでください"));
  aki.watchSelected();
  EXPECT_TRUE(
      aki.chatHas("自分の対戦は観戦できません。参加者の一覧から対戦中の人を選んでください"));
  aki.run([&] { aki.view.select(-1); });
  aki.challengeSelected();
  EXPECT_TRUE(aki.chatHas("参加者の一覧から、相手を選んでください"));
  EXPECT_EQ(aki.ownBoard(), placed);
  EXPECT_EQ(aki.status(), "配置完了");
  EXPECT_EQ(bob.questionsAsked(), 0);
}

TEST_F(MatchScenario, ASecondAcceptanceIsTurnedBack) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  TestPlayer& chika = join("ちか");
  // Both questions stay open until Aki has challenged both players.
  std::promise<void> bobMayAnswer, chikaMayAnswer;
  auto answerWhen = [](std::shared_future<void> allowed) {
    return [allowed](const std::string&, const std::string&) {
      allowed.wait();
      return true;
    };
  };
  bob.view.setAnswerer(answerWhen(bobMayAnswer.get_future().share()));
  chika.view.setAnswerer(answerWhen(chikaMayAnswer.get_future().share()));
  ASSERT_TRUE(aki.selectParticipant(bob.id()));
  aki.challengeSelected();
  ASSERT_TRUE(aki.selectParticipant(chika.id()));
  aki.challengeSelected();
  ASSERT_TRUE(waitUntil(
      [&] { return bob.view.questionsAsked() == 1 && chika.view.questionsAsked() == 1; }));
  bobMayAnswer.set_value();
  ASSERT_TRUE(waitUntil([&] { return aki.fields().opponentId == bob.id(); }));
  chikaMayAnswer.set_value();

  ASSERT_TRUE(
      aki.waitForChat("ちかさんが　対戦を了承してくれましたが、無視しちゃいます・・・（汗）"))
      << aki.chatLog();
  ASSERT_TRUE(chika.waitForChat("あきさんは、すでに、ぼぶさんと、対戦しています・・・"));
  EXPECT_TRUE(chika.chatHas("ゲームが終わりました"));
  EXPECT_TRUE(waitUntil([&] { return !chika.fields().playing(); }));
  EXPECT_EQ(aki.fields().opponentId, bob.id());
  EXPECT_EQ(bob.fields().opponentId, aki.id());
}

TEST_F(MatchScenario, AMutualChallengeGivesOneMatchWithOneFirstPlayer) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  for (TestPlayer* p : {&aki, &bob}) {
    p->view.setAnswerer([](const std::string&, const std::string&) { return true; });
  }
  // Bob challenges Aki before Aki's challenge reaches Bob's program: both questions come after
  // both challenges, and both say Yes.
  const int akiId = aki.id(), bobId = bob.id();
  std::promise<void> akiChallenged;
  std::shared_future<void> akiHasChallenged = akiChallenged.get_future().share();
  bob.ui.post([&, akiHasChallenged] {
    akiHasChallenged.wait();
    ASSERT_TRUE(bob.selectParticipant(akiId));
    bob.challengeSelected();
  });
  ASSERT_TRUE(aki.selectParticipant(bobId));
  aki.challengeSelected();
  akiChallenged.set_value();
  ASSERT_TRUE(waitUntil([&] {
    return aki.opponentBoard().isFilled() && bob.opponentBoard().isFilled() &&
           bob.view.questionsAsked() == 1 && aki.view.questionsAsked() == 1;
  }));
  bob.ui.drain();
  aki.ui.drain();

  EXPECT_EQ(aki.fields().opponentId, bob.id());
  EXPECT_EQ(bob.fields().opponentId, aki.id());
  EXPECT_NE(aki.fields().movesSecond, bob.fields().movesSecond);
  EXPECT_EQ(aki.fields().turnHolder, bob.fields().turnHolder);
  EXPECT_FALSE(aki.chatLog().find("無視しちゃいます") != std::string::npos) << aki.chatLog();
  EXPECT_FALSE(bob.chatLog().find("無視しちゃいます") != std::string::npos) << bob.chatLog();
  EXPECT_GT(playToTheEnd(aki, bob), 0);
  EXPECT_TRUE(aki.gameOver() && bob.gameOver());
}

TEST_F(MatchScenario, LaterLinesWaitWhileTheQuestionIsOpen) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  TestPlayer& chika = join("ちか");
  std::promise<void> asked;
  std::promise<bool> answer;
  auto answerFuture = answer.get_future().share();
  aki.view.setAnswerer(
      [&asked, answerFuture](const std::string& question, const std::string& caption) {
        EXPECT_EQ(utf8(question), "ぼぶさんと、対戦しますか？");
        EXPECT_EQ(utf8(caption), "PentaroGame");
        asked.set_value();
        return answerFuture.get();
      });
  ASSERT_TRUE(bob.selectParticipant(aki.id()));
  bob.challengeSelected();
  asked.get_future().wait();

  chika.say("きこえる？");
  ASSERT_TRUE(bob.waitForChat("ちか : きこえる？"));
  EXPECT_FALSE(aki.chatHas("ちか : きこえる？"));
  answer.set_value(false);
  EXPECT_TRUE(aki.waitForChat("ちか : きこえる？"));
  EXPECT_TRUE(bob.waitForChat("あきさんが　対戦をことわりました"));
}

// A watcher who comes in after a call knows at once who calls next and which number was called
// last: the host hands it the watched match's latest call with the maps.
TEST_F(MatchScenario, AWatcherWhoComesMidMatchSeesTheTurnAndTheLastCallAtOnce) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  TestPlayer& chika = join("ちか");
  startMatch(aki, bob);
  TestPlayer& caller = aki.fields().turnHolder == aki.id() ? aki : bob;
  TestPlayer& other = &caller == &aki ? bob : aki;
  const int number = caller.ownBoard().cell(2, 2);
  caller.call(number);
  ASSERT_TRUE(waitUntil([&] { return other.fields().turnHolder == other.id(); }));
  watch(chika, aki);
  ASSERT_TRUE(waitUntil([&] {
    return chika.ownBoard() == aki.ownBoard() && chika.opponentBoard() == bob.ownBoard();
  }));
  int lastCall = 0;
  MatchModel::Side toMove = MatchModel::Side::kUnknown;
  ASSERT_TRUE(waitUntil([&] {
    chika.run([&] {
      lastCall = chika.program->client().match().model().lastCall();
      toMove = chika.program->client().match().model().sideToMove();
    });
    return lastCall != 0;
  }));
  EXPECT_EQ(lastCall, number);
  // Aki's board is on the left: after her call Bob's side calls next, and the other way round.
  EXPECT_EQ(toMove, &caller == &aki ? MatchModel::Side::kRight : MatchModel::Side::kLeft);
  EXPECT_EQ(chika.status(), "観戦中");  // nothing decided by the replayed call
}

TEST_F(MatchScenario, AWatcherFollowsTheMatchFromTheFirstCall) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  TestPlayer& chika = join("ちか");
  TestPlayer& dai = join("だい");
  startMatch(aki, bob);
  watch(chika, aki);
  ASSERT_TRUE(waitUntil([&] {
    return chika.ownBoard() == aki.ownBoard() && chika.opponentBoard() == bob.ownBoard();
  }));
  EXPECT_TRUE(chika.chatHas("マップを取得中・・・"));
  EXPECT_EQ(utf8(chika.view.leftCaption()), "あき");
  EXPECT_EQ(utf8(chika.view.rightCaption()), "ぼぶ");
  const MatchFields watching = chika.fields();
  EXPECT_EQ(watching.watchedFirst, aki.id());
  EXPECT_EQ(watching.watchedSecond, bob.id());

  playToTheEnd(aki, bob);
  ASSERT_TRUE(waitUntil([&] {
    return chika.ownBoard() == aki.ownBoard() && chika.opponentBoard() == bob.ownBoard();
  }));
  const bool akiFive = aki.ownBoard().hasFiveLines(), bobFive = bob.ownBoard().hasFiveLines();
  const std::string result = akiFive && bobFive ? "引き分けです"
                             : akiFive          ? "あきの勝ちです"
                                                : "ぼぶの勝ちです";
  EXPECT_TRUE(chika.waitForStatus(result));
  EXPECT_FALSE(chika.gameOver());  // a watcher's match is never its own

  // Asking a player who is not in a match is refused with a note; the watched boards stay.
  ASSERT_TRUE(chika.selectParticipant(dai.id()));
  chika.watchSelected();
  EXPECT_TRUE(chika.chatHas("だいさんは、対戦中ではありません"));
  EXPECT_TRUE(chika.fields().watching());
  EXPECT_EQ(chika.status(), result);

  // The match ends: the watcher is told, its boards are cleared, and it follows Aki into her next
  // match.
  aki.endMatch();
  ASSERT_TRUE(chika.waitForChat("観戦していた対戦が終わりました"));
  ASSERT_TRUE(waitUntil([&] { return !chika.fields().watching(); }));
  EXPECT_EQ(chika.opponentBoard(), Board());
  EXPECT_EQ(chika.status(), "対戦待ち・・・");
  startMatch(aki, bob);
  ASSERT_TRUE(waitUntil([&] { return chika.fields().watching(); }));
  EXPECT_EQ(chika.fields().watchedFirst, aki.id());
  EXPECT_TRUE(waitUntil([&] { return chika.ownBoard() == aki.ownBoard(); }));
}

TEST_F(MatchScenario, APlacementByHandAfterAWatchedMatchIsNotTakenOverByTheNextOne) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  TestPlayer& chika = join("ちか");
  startMatch(aki, bob);
  watch(chika, aki);
  aki.endMatch();
  ASSERT_TRUE(chika.waitForChat("観戦していた対戦が終わりました"));
  ASSERT_TRUE(waitUntil([&] { return !chika.fields().watching(); }));
  auto fetches = [&] {
    const std::string log = chika.chatLog();
    int n = 0;
    for (auto at = log.find("対戦情報を取得中"); at != std::string::npos;
         at = log.find("対戦情報を取得中", at + 1)) {
      ++n;
    }
    return n;
  };
  const int fetchesBefore = fetches();
  chika.placeManually();
  chika.clickCell(0, 0);
  chika.clickCell(1, 0);
  const Board placing = chika.ownBoard();

  startMatch(aki, bob);
  // Chika's list has the new match: following would have asked to watch it by now.
  const int akiId = aki.id();
  ASSERT_TRUE(waitUntil([&] {
    int opponent = protocol::kNoPlayer;
    chika.run([&] { opponent = chika.program->participants().opponentOf(akiId); });
    return opponent != protocol::kNoPlayer;
  }));
  EXPECT_EQ(fetches(), fetchesBefore);
  EXPECT_FALSE(chika.fields().watching());
  EXPECT_EQ(chika.ownBoard(), placing);
  EXPECT_EQ(chika.status(), "次は、3");
}

TEST_F(MatchScenario, AcceptingWhileWatchingEndsTheWatching) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  TestPlayer& chika = join("ちか");
  TestPlayer& dai = join("だい");
  startMatch(aki, bob);
  watch(chika, aki);

  startMatch(dai, chika);
  const MatchFields f = chika.fields();
  EXPECT_FALSE(f.watching());
  EXPECT_EQ(f.opponentId, dai.id());
  EXPECT_EQ(chika.opponentBoard(), dai.ownBoard());

  // Calls of the watched match no longer reach the old watcher's boards.
  const Board chikasBoard = chika.ownBoard();
  playToTheEnd(aki, bob);
  EXPECT_TRUE(chika.inMatchControls());
  dai.say("sync");
  ASSERT_TRUE(chika.waitForChat("だい : sync"));
  EXPECT_EQ(chika.ownBoard(), chikasBoard);
}

TEST_F(MatchScenario, ClicksBeforeTheMapArriveAreRefused) {
  TestPlayer& aki = join("あき");
  TestPlayer& bob = join("ぼぶ");
  // Bob will move first. Aki's program is held right after her challenge, so her map, which she
  // sends when she takes in Bob's acceptance, is still on its way when Bob clicks.
  bob.run([&] { bob.program->random().setState(stateDrawing(2)); });
  bob.view.setAnswerer([](const std::string&, const std::string&) { return true; });
  std::promise<void> release;
  struct Release {
    std::promise<void>& promise;
    bool done = false;
    void now() {
      if (!done) promise.set_value();
      done = true;
    }
    ~Release() { now(); }
  } releaseAki{release};
  ASSERT_TRUE(aki.selectParticipant(bob.id()));
  aki.run([&] {
    aki.program->challenge(aki.view.selectedId());
    aki.ui.post([held = release.get_future().share()] { held.wait(); });
  });
  ASSERT_TRUE(waitUntil([&] { return bob.fields().playing(); }));

  const int number = bob.ownBoard().cell(2, 2);
  bob.call(number);
  EXPECT_TRUE(bob.chatHas("まだ相手の、マップ（配置）を受信していません"));
  EXPECT_TRUE(bob.chatHas("受信するまで、お待ちください"));
  EXPECT_EQ(bob.fields().turnHolder, bob.id());
  EXPECT_FALSE(marked(bob.ownBoard(), number));

  // Once the map is in, the same click is a call.
  releaseAki.now();
  ASSERT_TRUE(waitUntil([&] { return bob.opponentBoard().isFilled(); }));
  bob.call(number);
  EXPECT_TRUE(marked(bob.ownBoard(), number));
  EXPECT_TRUE(waitUntil([&] { return marked(aki.ownBoard(), number); }));
}

}  // namespace
}  // namespace pentaro::testing
