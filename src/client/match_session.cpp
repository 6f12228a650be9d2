#include "client/match_session.h"

#include "net/line_builder.h"
#include "net/protocol.h"
#include "text/texts.h"
#include "ui/chat_log.h"
#include "ui/controls.h"

namespace pentaro {
namespace {

// The controls that are usable only outside a match (and "対戦終了" only inside one).
constexpr int kIdleControls[] = {IDC_CHALLENGE, IDC_SPECTATE, IDC_PLACE_MANUALLY,
                                 IDC_AUTO_PLACE_REST};

}  // namespace

MatchSession::MatchSession(GameBoards& boards, Window& window, Hooks hooks)
    : boards_(boards), window_(window), hooks_(std::move(hooks)), model_(boards) {
  boards_.setAfterReset([this] { afterReset(); });
}

// The boards may outlive the session (they are plain program-wide data).
MatchSession::~MatchSession() { boards_.setAfterReset(nullptr); }

void MatchSession::afterReset() {
  model_.stopWatching();
  boards_.requestRepaint();
  window_.setText(IDC_OWN_CAPTION, "");
  window_.setText(IDC_OPPONENT_CAPTION, "");
  if (hooks_.connected()) window_.setText(IDC_STATUS, texts().waitingForMatch);
}

void MatchSession::startMatch(int opponent, int movesSecond) {
  for (int id : kIdleControls) window_.setEnabled(id, false);
  window_.setEnabled(IDC_END_MATCH, true);

  model_.start(opponent, movesSecond);
  window_.setText(IDC_OWN_CAPTION, window_.text(IDC_PLAYER_NAME, kCaptionNameBytes));
  window_.setText(IDC_OPPONENT_CAPTION, hooks_.nameOf(fields().opponentId));

  appendChatLog(window_, texts().matchStarted);
  showOrder();
}

void MatchSession::showOrder() {
  const std::string& order = fields().movesSecond == 0 ? texts().movesFirst : texts().movesSecond;
  appendChatLog(window_, order);
  window_.setText(IDC_STATUS, order);
  if (model_.ownTurn()) window_.requestAttention();
  boards_.requestRepaint();  // the frame of the side to move
}

void MatchSession::settleMutualAcceptance(int theirFlag) {
  if (fields().ownId < fields().opponentId) return;
  const int movesSecond = theirFlag != 0 ? 1 : 0;
  if (movesSecond == (fields().movesSecond != 0 ? 1 : 0)) return;
  // No call can have been made yet: each side's map follows its acceptance on the wire.
  model_.start(fields().opponentId, movesSecond);
  showOrder();
}

void MatchSession::sendOwnMap(int destination) {
  LineBuilder line(protocol::kSetEFl);
  line.number(destination);
  for (int i = 0; i < Board::kCells; ++i) line.number(boards_.own().cellAt(i));
  hooks_.send(line);
}

void MatchSession::show(const CallOutcome& outcome, int number) {
  if (outcome.kind == CallOutcome::Kind::kMapMissing) {
    appendChatLog(window_, texts().mapNotReceived);
    appendChatLog(window_, texts().pleaseWait);
    return;
  }
  if (!outcome.applied()) return;
  if (outcome.result != CallResult::kContinue) {
    window_.setText(IDC_STATUS, callResultText(outcome.result, outcome.spectating,
                                               window_.text(IDC_OWN_CAPTION, kNoteNameBytes),
                                               window_.text(IDC_OPPONENT_CAPTION, kNoteNameBytes)));
  }
  if (outcome.ownCall) {
    hooks_.send(LineBuilder(protocol::kPlot).number(fields().opponentId).number(number));
  }
  if (outcome.turnChanged) {
    window_.setText(IDC_STATUS, outcome.ownCall ? texts().opponentsTurn : texts().yourTurn);
    if (!outcome.ownCall) window_.requestAttention();
  }
}

void MatchSession::endMatch(bool notify) {
  for (int id : kIdleControls) window_.setEnabled(id, true);
  window_.setEnabled(IDC_END_MATCH, false);
  if (notify) hooks_.send(LineBuilder(protocol::kEndVs).number(fields().opponentId));
  model_.finish();
  resetBoards();
  appendChatLog(window_, texts().matchEnded);
  window_.setText(IDC_OPPONENT_CAPTION, "");
}

void MatchSession::clickOwnBoard(int value) { show(model_.callOwn(value), value); }

void MatchSession::onPlot(int caller, int number) {
  show(model_.receiveCall(caller, number), number);
}

void MatchSession::onMap(int owner, const std::array<int, Board::kCells>& cells) {
  if (!model_.receiveMap(owner, cells)) return;
  appendChatLog(window_, texts().mapReceived);
  boards_.requestRepaint();
}

void MatchSession::onEndMatch(int sender) {
  // Only the own opponent can end the own match; anybody else's END_VS is stale or forged.
  if (fields().playing() && sender == fields().opponentId) endMatch(false);
}

void MatchSession::onPlayerLeft(int id, const std::string& name) {
  if (fields().playing() && id == fields().opponentId) {
    appendChatLog(window_, name + texts().opponentLeftSuffix);
    endMatch(false);
  } else if (fields().watching() && (id == fields().watchedFirst || id == fields().watchedSecond)) {
    appendChatLog(window_, name + texts().watchedLeftSuffix);
    resetBoards();
  }
}

}  // namespace pentaro
