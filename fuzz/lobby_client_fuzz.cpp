// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Fuzz target: one player's program (the client with its match, negotiation and participant
// list, the headless view) handling what a hostile server might send, mixed with what its
// player does and with the connection ending and coming back. Everything runs on this thread,
// which is the UI thread.
//
// Input: a transcript (see transcript.h). A line is a server line, or one of the player's
// actions: "!click C R" (the own board's cell), "!select N" (a list line, -1 none), "!challenge",
// "!watch", "!end", "!manual", "!auto", "!close" (the connection ends), "!yes" or "!no" (how the
// player answers questions from now on; at first No).
//
// Invariants after every event: both boards hold numbers within -25..25, each at most once; the
// list box shows exactly the participant model's lines; a DEL takes one line of its id away, so
// an id added once and deleted has no line left; an ended connection leaves an empty list.
#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "net/message_fields.h"
#include "net/protocol.h"
#include "net/tcp_connection.h"
#include "shell/program.h"
#include "transcript.h"
#include "ui/headless_view.h"
#include "ui/ui_thread.h"

namespace {

using namespace pentaro;

// The calling thread is the UI thread: invokeAndWait runs at once, posted work waits for
// runPosted().
class InlineUiThread : public UiThread {
 public:
  bool isUiThread() const override { return true; }
  void runPosted() {
    while (!tasks_.empty()) {
      auto task = std::move(tasks_.front());
      tasks_.pop_front();
      task();
    }
  }

 protected:
  void schedule(std::function<void()> task) override { tasks_.push_back(std::move(task)); }

 private:
  std::deque<std::function<void()>> tasks_;
};

// The connection worker's three events, handed to the client through the handler interface the
// worker calls. The client keeps that interface private to keep other callers out; a C-style cast
// is the one conversion that reaches a private base, and the worker's view is what this target
// plays.
TcpConnection::Handler& connectionEvents(LobbyClient& client) {
  return (TcpConnection::Handler&)client;  // NOLINT(google-readability-casting)
}

// The player's buttons; "対戦" and "観戦" go to the selected line's participant.
using Button = void (*)(Program&, const HeadlessView&);
constexpr std::array<std::pair<std::string_view, Button>, 5> kButtons = {{
    {"!challenge", [](Program& p, const HeadlessView& v) { p.challenge(v.selectedId()); }},
    {"!watch", [](Program& p, const HeadlessView& v) { p.watch(v.selectedId()); }},
    {"!end", [](Program& p, const HeadlessView&) { p.endMatch(); }},
    {"!manual", [](Program& p, const HeadlessView&) { p.placeManually(); }},
    {"!auto", [](Program& p, const HeadlessView&) { p.autoPlaceRest(); }},
}};

void checkBoard(const Board& board) {
  std::array<bool, Board::kHighestNumber + 1> seen{};
  for (int i = 0; i < Board::kCells; ++i) {
    const int value = board.cellAt(i);
    FUZZ_CHECK(value >= -Board::kHighestNumber && value <= Board::kHighestNumber);
    if (value == 0) continue;
    const auto number = static_cast<std::size_t>(value < 0 ? -value : value);
    FUZZ_CHECK(!seen[number]);
    seen[number] = true;
  }
}

int linesOf(const ParticipantModel& model, int id) {
  return static_cast<int>(std::ranges::count(model.lines(), id, &ParticipantModel::Line::id));
}

void checkList(const HeadlessView& view, const ParticipantModel& model) {
  const auto& lines = model.lines();
  const std::vector<std::string> shown = view.listLines();
  FUZZ_CHECK(shown.size() == lines.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    FUZZ_CHECK(view.listItem(static_cast<int>(i)) == lines[i].id);
    FUZZ_CHECK(shown[i] == lines[i].text);
  }
}

// "C R": a cell; parseNumber ends each number at its first blank.
std::pair<int, int> cellOf(std::string_view text) {
  const auto space = text.find(' ');
  return {parseNumber(text),
          space == std::string_view::npos ? 0 : parseNumber(text.substr(space + 1))};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  HeadlessView view;
  InlineUiThread ui;
  Program::Options options;
  options.settingsPath = "/nonexistent/qm.ini";
  Program program(view, ui, options);
  bool answer = false;
  view.setAnswerer([&answer](const std::string&, const std::string&) { return answer; });
  program.start();
  program.setPlayerName("fuzz");

  LobbyClient& client = program.client();
  const ParticipantModel& model = program.participants().model();
  bool connected = false;
  for (const std::string& event : fuzzing::transcriptLines(data, size)) {
    if (!connected) {
      connectionEvents(client).onConnected();
      connected = true;
    }
    const std::string_view text(event);
    const auto button =
        std::ranges::find(kButtons, text, &std::pair<std::string_view, Button>::first);
    if (text.starts_with("!click ")) {
      // Posted, as a window hands a press on after the press.
      ui.post([&program, cell = cellOf(text.substr(7))] {
        program.clickOwnCell(cell.first, cell.second);
      });
    } else if (text.starts_with("!select ")) {
      view.select(parseNumber(text.substr(8)));
    } else if (button != kButtons.end()) {
      button->second(program, view);
    } else if (text == "!yes" || text == "!no") {
      answer = text == "!yes";
    } else if (text == "!close") {
      connectionEvents(client).onClosed();
      connected = false;
      FUZZ_CHECK(model.lines().empty());
    } else {
      const MessageFields fields(text);
      const int deleted = fields.is(protocol::kDel) ? fields.number(1) : protocol::kNoPlayer;
      const int before = deleted == protocol::kNoPlayer ? 0 : linesOf(model, deleted);
      connectionEvents(client).onLineReceived(text);
      if (deleted != protocol::kNoPlayer) {
        FUZZ_CHECK(linesOf(model, deleted) == std::max(before - 1, 0));
      }
    }
    ui.runPosted();
    checkBoard(program.boards().own());
    checkBoard(program.boards().opponent());
    checkList(view, model);
  }
  connectionEvents(client).onClosed();
  ui.runPosted();
  return 0;
}
