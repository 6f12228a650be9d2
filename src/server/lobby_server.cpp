#include "server/lobby_server.h"

#include "net/line_builder.h"
#include "net/protocol.h"
#include "text/texts.h"

namespace pentaro {
namespace {

// A forwarded line carries, after the command and the sender, these fields of the received one.
constexpr int kPlotLastField = 3;
constexpr int kMapLastField = 29;
constexpr int kOtherLastField = 6;

bool inSlotRange(int id) { return id >= 0 && id < LobbyServer::kSlots; }

}  // namespace

LobbyServer::LobbyServer() {
  watchFirst_.fill(kNoWatch);
  watchSecond_.fill(kNoWatch);
  createSlots(kSlots);
  setFloodLimit(kFloodLinesPerSecond);
}

LobbyServer::~LobbyServer() { stop(); }

void LobbyServer::setRoster(const RosterView* roster) { roster_ = roster; }

void LobbyServer::setEndedHandler(std::function<void()> handler) {
  endedHandler_ = std::move(handler);
}

void LobbyServer::setAnnouncementSink(std::function<void(std::string_view)> sink) {
  announcementSink_ = std::move(sink);
}

void LobbyServer::setFloodLimit(int linesPerSecond) {
  setLineRate(linesPerSecond, static_cast<double>(linesPerSecond) * kFloodBurstSeconds);
}

bool LobbyServer::startServer(int port) {
  // The accept worker of the last start may still be returning from onListenEnded: a new one
  // can start only after it.
  if (listenEnded_.exchange(false)) waitUntilEnded();
  if (startListening(port, kBacklog)) return true;
  stopServer();
  return false;
}

std::string LobbyServer::nameOf(int slot) const {
  std::lock_guard lock(mutex_);
  return inSlotRange(slot) ? names_[slot] : std::string();
}

std::pair<int, int> LobbyServer::watchEntries(int slot) const {
  std::lock_guard lock(mutex_);
  if (!inSlotRange(slot)) return {kNoWatch, kNoWatch};
  return {watchFirst_[slot], watchSecond_[slot]};
}

void LobbyServer::sendToPlayer(int slot, std::string_view line) {
  if (inSlotRange(slot) && welcomed_[slot]) queueTo(slot, line);
}

void LobbyServer::broadcast(std::string_view line) {
  // A connection accepted a moment ago is not greeted yet: it hears nothing before its welcome.
  for (int i = 0; i < kSlots; ++i) sendToPlayer(i, line);
  if (announcementSink_) announcementSink_(line);
}

void LobbyServer::forgetWatchersOf(int player) {
  for (int i = 0; i < kSlots; ++i) {
    if (watchFirst_[i] == player) watchFirst_[i] = kNoWatch;
    if (watchSecond_[i] == player) watchSecond_[i] = kNoWatch;
  }
}

void LobbyServer::onConnected(int index) {
  std::lock_guard lock(mutex_);
  welcomed_[index] = true;
  names_[index] = texts().provisionalName;
  watchFirst_[index] = kNoWatch;
  watchSecond_[index] = kNoWatch;
  queueTo(index, LineBuilder(protocol::kId).number(index).line());
  queueTo(index, texts().greetingLine);
  if (!roster_) return;
  // Every participant first, then every running match, once from each side.
  const std::vector<RosterLine> roster = roster_->rosterLines();
  for (const RosterLine& line : roster) {
    queueTo(index, LineBuilder(protocol::kAdd).number(line.id).text(line.name).line());
  }
  for (const RosterLine& line : roster) {
    if (line.opponent == protocol::kNoPlayer) continue;
    queueTo(index, LineBuilder(protocol::kStList)
                       .text(std::string_view(&protocol::kMatchStarted, 1))
                       .number(line.id)
                       .number(line.opponent)
                       .line());
  }
}

void LobbyServer::onClosed(int index) {
  std::lock_guard lock(mutex_);
  welcomed_[index] = false;
  broadcast(LineBuilder(protocol::kDel).number(index).line());
  broadcast(LineBuilder(protocol::kMsg).text(names_[index] + texts().departureSuffix).line());
  names_[index].clear();
  watchFirst_[index] = kNoWatch;
  watchSecond_[index] = kNoWatch;
  // Nobody goes on receiving the calls of a player who has left (the slot will be reused).
  forgetWatchersOf(index);
}

std::uint64_t LobbyServer::linesReceived() const {
  std::lock_guard lock(mutex_);
  return linesReceived_;
}

void LobbyServer::onLineReceived(int index, std::string_view line) {
  std::lock_guard lock(mutex_);
  ++linesReceived_;
  const MessageFields fields(line);
  if (fields.is(protocol::kNewC)) {
    const std::string name(fields.field(1));
    broadcast(LineBuilder(protocol::kMsg).text(name + texts().arrivalSuffix).line());
    names_[index] = name;
    broadcast(LineBuilder(protocol::kAdd).number(index).text(name).line());
    return;
  }
  if (fields.is(protocol::kChat)) {
    broadcast(LineBuilder(protocol::kChat)
                  .number(index)
                  .text(names_[index])
                  .text(fields.field(1))
                  .line());
    return;
  }
  relay(index, fields);
}

void LobbyServer::relay(int sender, const MessageFields& fields) {
  const int addressee = fields.number(1);
  if (fields.is(protocol::kMsg)) {
    sendToPlayer(addressee, LineBuilder(protocol::kMsg).text(fields.field(2)).line());
    return;
  }

  LineBuilder forwarded(fields.field(0));
  forwarded.number(sender);
  auto carry = [&](int last) {
    for (int i = 2; i <= last; ++i) forwarded.text(fields.field(i));
  };
  auto matchAnnouncement = [&](char kind) {
    return LineBuilder(protocol::kStList)
        .text(std::string_view(&kind, 1))
        .number(sender)
        .number(addressee)
        .line();
  };

  if (fields.is(protocol::kPlot)) {
    carry(kPlotLastField);
    sendToPlayer(addressee, forwarded.line());
    for (int i = 0; i < kSlots; ++i) {
      if (watchFirst_[i] == sender) sendToPlayer(i, forwarded.line());
      if (watchSecond_[i] == sender) sendToPlayer(i, forwarded.line());
    }
  } else if (fields.is(protocol::kSetEFl)) {
    carry(kMapLastField);
    sendToPlayer(addressee, forwarded.line());
  } else if (fields.is(protocol::kReStartVs) && fields.field(2) == protocol::kOk) {
    if (inSlotRange(addressee)) {
      watchFirst_[addressee] = kNoWatch;
      watchSecond_[addressee] = kNoWatch;
    }
    watchFirst_[sender] = kNoWatch;
    watchSecond_[sender] = kNoWatch;
    carry(kOtherLastField);
    sendToPlayer(addressee, forwarded.line());
    broadcast(matchAnnouncement(protocol::kMatchStarted));
  } else if (fields.is(protocol::kEndVs)) {
    carry(kOtherLastField);
    sendToPlayer(addressee, forwarded.line());
    broadcast(matchAnnouncement(protocol::kMatchEnded));
    // Watchers of the finished match stop receiving what these two play next.
    forgetWatchersOf(sender);
    if (inSlotRange(addressee)) forgetWatchersOf(addressee);
  } else {
    if (fields.is(protocol::kReVsId) && inSlotRange(addressee)) {
      watchFirst_[addressee] = kNoWatch;
      watchSecond_[addressee] = kNoWatch;
    } else if (fields.is(protocol::kReqFl)) {
      const std::string_view which = fields.field(2);
      // The entry holds the addressee cut to 8 bits; -1 thus reads as "none".
      const auto watched = static_cast<std::uint8_t>(addressee);
      if (!which.empty() && which[0] == protocol::kWatchSecond[0]) watchSecond_[sender] = watched;
      if (!which.empty() && which[0] == protocol::kWatchFirst[0]) watchFirst_[sender] = watched;
    }
    carry(kOtherLastField);
    sendToPlayer(addressee, forwarded.line());
  }
}

void LobbyServer::onListenEnded() {
  listenEnded_ = true;
  if (endedHandler_) endedHandler_();
}

}  // namespace pentaro
