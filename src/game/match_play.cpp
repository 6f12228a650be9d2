#include "game/match_play.h"

#include "net/line_builder.h"
#include "net/protocol.h"
#include "text/texts.h"
#include "ui/chat_log.h"
#include "ui/controls.h"

namespace pentaro {

MatchPlay::MatchPlay(GameBoards& boards, Window& window, Hooks hooks)
    : boards_(boards), window_(window), hooks_(std::move(hooks)) {
  boards_.setAfterReset([this] { afterReset(); });
}

// The boards may outlive the match play (they are plain program-wide data).
MatchPlay::~MatchPlay() { boards_.setAfterReset(nullptr); }

void MatchPlay::afterReset() {
  fields_.watchedFirst = MatchFields::kNone;
  fields_.watchedSecond = MatchFields::kNone;
  boards_.requestRepaint();
  window_.setText(IDC_OWN_CAPTION, "");
  window_.setText(IDC_OPPONENT_CAPTION, "");
  if (hooks_.connected()) window_.setText(IDC_STATUS, texts().waitingForMatch);
}

void MatchPlay::startMatch(int opponent, int movesSecond) {
  window_.setEnabled(IDC_CHALLENGE, false);
  window_.setEnabled(IDC_END_MATCH, true);
  window_.setEnabled(IDC_SPECTATE, false);
  window_.setEnabled(IDC_PLACE_MANUALLY, false);
  window_.setEnabled(IDC_AUTO_PLACE_REST, false);

  fields_.opponentId = static_cast<std::int16_t>(opponent);
  fields_.movesSecond = static_cast<std::int16_t>(movesSecond);
  fields_.turnHolder = fields_.movesSecond != 0 ? fields_.opponentId : fields_.ownId;

  window_.setText(IDC_OWN_CAPTION, window_.text(IDC_PLAYER_NAME, kCaptionNameBytes));
  window_.setText(IDC_OPPONENT_CAPTION, hooks_.nameOf(fields_.opponentId));

  const std::string& order = fields_.movesSecond == 0 ? texts().movesFirst : texts().movesSecond;
  appendChatLog(window_, texts().matchStarted);
  appendChatLog(window_, order);
  window_.setText(IDC_STATUS, order);
}

void MatchPlay::sendOwnMap(int destination) {
  LineBuilder line(protocol::kSetEFl);
  line.number(destination);
  for (int i = 0; i < Board::kCells; ++i) line.number(boards_.own().cellAt(i));
  hooks_.send(line);
}

void MatchPlay::playNumber(int number) {
  const bool watching = fields_.watching();
  if (!watching) {
    if (!fields_.playing()) return;
    if (!boards_.opponent().isFilled()) {
      appendChatLog(window_, texts().mapNotReceived);
      appendChatLog(window_, texts().pleaseWait);
      return;
    }
  }
  if (fields_.playing() && fields_.turnHolder == fields_.ownId) {
    const CallResult result = boards_.applyCall(number, watching);
    showResult(result, watching);
    if (!watching)
      hooks_.send(LineBuilder(protocol::kPlot).number(fields_.opponentId).number(number));
    if (result == CallResult::kContinue && !watching) {
      fields_.turnHolder = fields_.opponentId;
      window_.setText(IDC_STATUS, texts().opponentsTurn);
    }
    return;
  }
  const CallResult result = boards_.applyCall(number, watching);
  showResult(result, watching);
  if (result == CallResult::kContinue && !watching) {
    fields_.turnHolder = fields_.ownId;
    window_.setText(IDC_STATUS, texts().yourTurn);
  }
}

void MatchPlay::showResult(CallResult result, bool spectating) {
  if (result == CallResult::kContinue) return;
  window_.setText(IDC_STATUS,
                  callResultText(result, spectating, window_.text(IDC_OWN_CAPTION, kNoteNameBytes),
                                 window_.text(IDC_OPPONENT_CAPTION, kNoteNameBytes)));
}

void MatchPlay::endMatch(bool notify) {
  window_.setEnabled(IDC_CHALLENGE, true);
  window_.setEnabled(IDC_END_MATCH, false);
  window_.setEnabled(IDC_SPECTATE, true);
  window_.setEnabled(IDC_PLACE_MANUALLY, true);
  window_.setEnabled(IDC_AUTO_PLACE_REST, true);
  if (notify) hooks_.send(LineBuilder(protocol::kEndVs).number(fields_.opponentId));
  fields_.opponentId = MatchFields::kNone;
  resetBoards();
  appendChatLog(window_, texts().matchEnded);
  window_.setText(IDC_OPPONENT_CAPTION, "");
}

void MatchPlay::clickOwnBoard(int value) {
  if (boards_.gameOver() || !fields_.playing() || fields_.turnHolder != fields_.ownId ||
      value <= 0 || fields_.watching()) {
    return;
  }
  playNumber(value);
}

void MatchPlay::onPlot(int caller, int number) {
  const bool fromWatched =
      fields_.watching() && (caller == fields_.watchedFirst || caller == fields_.watchedSecond);
  if (caller == fields_.opponentId || fromWatched) playNumber(number);
}

void MatchPlay::onMap(int owner, const std::array<int, Board::kCells>& cells) {
  const bool watching = fields_.watching();
  if (owner != fields_.opponentId && !watching) return;
  Board* target = nullptr;
  if (!watching || owner == fields_.watchedSecond) {
    target = &boards_.opponent();
  } else if (owner == fields_.watchedFirst) {
    target = &boards_.own();
  }
  if (target) {
    for (int i = 0; i < Board::kCells; ++i)
      target->setCell(cells[i], i % Board::kSide, i / Board::kSide);
  }
  appendChatLog(window_, texts().mapReceived);
  boards_.requestRepaint();
}

void MatchPlay::onEndMatch(int sender) { endMatch(sender != fields_.opponentId); }

}  // namespace pentaro
