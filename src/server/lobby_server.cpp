// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "server/lobby_server.h"

#include "net/line_builder.h"
#include "net/protocol.h"
#include "text/texts.h"

namespace pentaro {

namespace at = protocol::at;
namespace {

// A forwarded line carries, after the command and the sender, these fields of the received one.
constexpr int kPlotLastField = 3;
constexpr int kMapLastField = 29;
constexpr int kOtherLastField = 6;

bool inSlotRange(int id) { return id >= 0 && id < LobbyServer::kSlots; }

// The received line as the addressee gets it: the command, the sender in place of the
// addressee, then fields 2 to `lastField` of the received line (missing ones empty).
std::string forwardedLine(int sender, const MessageFields& fields, int lastField) {
  LineBuilder line(fields.field(0));
  line.number(sender);
  for (int i = 2; i <= lastField; ++i) line.text(fields.field(i));
  return line.line();
}

}  // namespace

LobbyServer::LobbyServer() {
  watchFirst_.fill(kNoWatch);
  watchSecond_.fill(kNoWatch);
  opponent_.fill(protocol::kNoPlayer);
  listener_.createSlots(kSlots);
  setFloodLimit(kFloodLinesPerSecond);
}

LobbyServer::~LobbyServer() = default;

void LobbyServer::setRoster(const RosterView* roster) { roster_ = roster; }

void LobbyServer::setEndedHandler(std::function<void(std::uint64_t)> handler) {
  endedHandler_ = std::move(handler);
}

void LobbyServer::setFloodedHandler(std::function<void(int)> handler) {
  floodedHandler_ = std::move(handler);
}

void LobbyServer::setAnnouncementSink(std::function<void(std::string_view)> sink) {
  announcementSink_ = std::move(sink);
}

void LobbyServer::setFloodLimit(int linesPerSecond) {
  listener_.setLineRate(linesPerSecond, static_cast<double>(linesPerSecond) * kFloodBurstSeconds,
                        kFloodBacklogSeconds);
}

void LobbyServer::setAnnouncement(std::string name, LobbyAnnouncer::Listener listener) {
  announcedName_ = std::move(name);
  if (announcer_) return;
  announcer_ = std::make_unique<LobbyAnnouncer>();
  announcer_->setListener(std::move(listener));
}

bool LobbyServer::startServer(int port) {
  // The accept worker of the last start may still be ending (a host that stops and starts again
  // at once): a new one can start only after it. It waits for no thread but its own slots'.
  if (listeningStopped_.exchange(false)) listener_.waitUntilEnded();
  {
    FairMutexLock lock(mutex_);
    opponent_.fill(protocol::kNoPlayer);
  }
  // Counted before the accept worker starts: a port that cannot be bound ends it at once.
  ++listenGeneration_;
  if (listener_.startListening(port, TcpListener::kBacklog)) {
    // A port another program holds is not this lobby's to announce.
    if (announcer_ && listener_.listenError() == 0) {
      // A newcomer may have registered before the announcement started: it starts with the count.
      FairMutexLock lock(mutex_);
      announcer_->start(announcedName_, port);
      announcePlayerCount();
    }
    return true;
  }
  stopServer();
  return false;
}

void LobbyServer::stopServer() {
  if (announcer_) announcer_->stop();
  listeningStopped_ = true;
  listener_.closeAll();
}

std::string LobbyServer::nameOf(int slot) const {
  FairMutexLock lock(mutex_);
  return inSlotRange(slot) ? names_[slot] : std::string();
}

std::pair<int, int> LobbyServer::watchEntries(int slot) const {
  FairMutexLock lock(mutex_);
  if (!inSlotRange(slot)) return {kNoWatch, kNoWatch};
  return {watchFirst_[slot], watchSecond_[slot]};
}

int LobbyServer::opponentOf(int slot) const {
  FairMutexLock lock(mutex_);
  return inSlotRange(slot) ? opponent_[slot] : protocol::kNoPlayer;
}

void LobbyServer::sendToPlayer(int slot, std::string_view line) {
  if (inSlotRange(slot) && welcomed_[slot]) listener_.queueTo(slot, line);
}

bool LobbyServer::isRegistered(int slot) const {
  return inSlotRange(slot) && welcomed_[slot] && registered_[slot];
}

bool LobbyServer::isFree(int slot) const {
  return isRegistered(slot) && opponent_[slot] == protocol::kNoPlayer;
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
  FairMutexLock lock(mutex_);
  welcomed_[index] = true;
  registered_[index] = false;
  names_[index] = texts().provisionalName;
  clearWatchEntries(index);
  listener_.queueTo(index, LineBuilder(protocol::kId).number(index).line());
  listener_.queueTo(index, texts().greetingLine);
  if (!roster_) return;
  // Every participant first, then every running match, once from each side.
  const std::vector<RosterLine> roster = roster_->rosterLines();
  for (const RosterLine& line : roster) {
    listener_.queueTo(index, LineBuilder(protocol::kAdd).number(line.id).text(line.name).line());
  }
  for (const RosterLine& line : roster) {
    if (line.opponent == protocol::kNoPlayer) continue;
    listener_.queueTo(index, LineBuilder(protocol::kStList)
                                 .text(std::string_view(&protocol::kMatchStarted, 1))
                                 .number(line.id)
                                 .number(line.opponent)
                                 .line());
  }
}

void LobbyServer::onClosed(int index) {
  FairMutexLock lock(mutex_);
  welcomed_[index] = false;
  registered_[index] = false;
  announcePlayerCount();
  broadcast(LineBuilder(protocol::kDel).number(index).line());
  broadcast(LineBuilder(protocol::kMsg).text(names_[index] + texts().departureSuffix).line());
  names_[index].clear();
  clearWatchEntries(index);
  // Nobody goes on receiving the calls of a player who has left (the slot will be reused).
  forgetWatchersOf(index);
  forgetMatchOf(index);
}

void LobbyServer::forgetMatchOf(int slot) {
  const int opponent = opponent_[slot];
  if (inSlotRange(opponent) && opponent_[opponent] == slot) {
    opponent_[opponent] = protocol::kNoPlayer;
  }
  opponent_[slot] = protocol::kNoPlayer;
}

void LobbyServer::onFlooded(int index) {
  FairMutexLock lock(mutex_);
  if (floodedHandler_) floodedHandler_(index);
}

std::uint64_t LobbyServer::linesReceived() const {
  FairMutexLock lock(mutex_);
  return linesReceived_;
}

void LobbyServer::onLineReceived(int index, std::string_view line) {
  const MessageFields fields(line);
  // One line at a time under the fair lock: a busy sender queues behind the others between its
  // lines and cannot keep them out.
  FairMutexLock lock(mutex_);
  ++linesReceived_;
  (this->*handlerFor(fields))(index, fields);
}

LobbyServer::Handler LobbyServer::handlerFor(const MessageFields& fields) {
  static constexpr struct {
    std::string_view command;
    Handler handler;
  } kHandlers[] = {
      {protocol::kNewC, &LobbyServer::registerName},
      {protocol::kChat, &LobbyServer::chat},
      {protocol::kMsg, &LobbyServer::relayMessage},
      {protocol::kPlot, &LobbyServer::relayCall},
      {protocol::kSetEFl, &LobbyServer::relayMap},
      {protocol::kReStartVs, &LobbyServer::relayChallengeAnswer},
      {protocol::kEndVs, &LobbyServer::relayMatchEnd},
      {protocol::kReVsId, &LobbyServer::relayOpponentAnswer},
      {protocol::kReqFl, &LobbyServer::relayWatchRequest},
  };
  for (const auto& entry : kHandlers) {
    if (fields.is(entry.command)) return entry.handler;
  }
  return &LobbyServer::relayOther;  // every other command, unknown ones included
}

void LobbyServer::registerName(int sender, const MessageFields& fields) {
  const std::string name(fields.field(at::kText));
  // A second NEW_C renames the slot's line: without the DEL every list would keep the old line
  // for good, and the roster would welcome newcomers with both. Every list drops the player's
  // match with that DEL, so the server's table does too.
  if (registered_[sender]) {
    broadcast(LineBuilder(protocol::kDel).number(sender).line());
    forgetMatchOf(sender);
  }
  broadcast(LineBuilder(protocol::kMsg).text(name + texts().arrivalSuffix).line());
  names_[sender] = name;
  registered_[sender] = true;
  announcePlayerCount();
  broadcast(LineBuilder(protocol::kAdd).number(sender).text(name).line());
}

void LobbyServer::announcePlayerCount() {
  if (!announcer_) return;
  int players = 0;
  for (int i = 0; i < kSlots; ++i) players += isRegistered(i) ? 1 : 0;
  announcer_->setPlayers(players);
}

void LobbyServer::chat(int sender, const MessageFields& fields) {
  broadcast(LineBuilder(protocol::kChat)
                .number(sender)
                .text(names_[sender])
                .text(fields.field(at::kText))
                .line());
}

void LobbyServer::relayMessage(int /*sender*/, const MessageFields& fields) {
  sendToPlayer(fields.number(at::kPeer),
               LineBuilder(protocol::kMsg).text(fields.field(at::kNoteText)).line());
}

void LobbyServer::relayCall(int sender, const MessageFields& fields) {
  const std::string line = forwardedLine(sender, fields, kPlotLastField);
  lastCall_[sender] = line;
  lastCallOrder_[sender] = ++calls_;
  sendToPlayer(fields.number(at::kPeer), line);
  for (int i = 0; i < kSlots; ++i) {
    if (watchFirst_[i] == sender) sendToPlayer(i, line);
    if (watchSecond_[i] == sender) sendToPlayer(i, line);
  }
}

void LobbyServer::relayMap(int sender, const MessageFields& fields) {
  sendToPlayer(fields.number(at::kPeer), forwardedLine(sender, fields, kMapLastField));
}

void LobbyServer::relayChallengeAnswer(int sender, const MessageFields& fields) {
  if (fields.field(at::kAnswer) != protocol::kOk) {
    relayOther(sender, fields);
    return;
  }
  const int addressee = fields.number(at::kPeer);
  if (inSlotRange(addressee)) clearWatchEntries(addressee);
  clearWatchEntries(sender);
  relayOther(sender, fields);
  // Only a match between two players in everybody's list is announced (a made-up addressee
  // would get a line of its own in every list, under an id the next newcomer takes), and only
  // between two free ones: a player is in one match at a time. The second acceptance of a
  // mutual challenge, which the clients settle into the running match, announces nothing.
  if (addressee != sender && isFree(sender) && isFree(addressee)) {
    opponent_[sender] = addressee;
    opponent_[addressee] = sender;
    lastCall_[sender].clear();
    lastCall_[addressee].clear();
    announceMatch(protocol::kMatchStarted, sender, addressee);
  }
}

void LobbyServer::relayMatchEnd(int sender, const MessageFields& fields) {
  const int addressee = fields.number(at::kPeer);
  relayOther(sender, fields);
  // Only the pair that plays ends a match: anybody else's END_VS (a late acceptor told to
  // leave, a stale or made-up one) leaves every list as it is.
  if (inSlotRange(addressee) && opponent_[sender] == addressee) {
    opponent_[sender] = protocol::kNoPlayer;
    opponent_[addressee] = protocol::kNoPlayer;
    announceMatch(protocol::kMatchEnded, sender, addressee);
  }
  // Watchers of a player in no match stop receiving what it plays next; a player still in its
  // match keeps its watchers.
  for (int player : {sender, addressee}) {
    if (inSlotRange(player) && opponent_[player] == protocol::kNoPlayer) forgetWatchersOf(player);
  }
}

void LobbyServer::relayOpponentAnswer(int sender, const MessageFields& fields) {
  const int addressee = fields.number(at::kPeer);
  if (inSlotRange(addressee)) clearWatchEntries(addressee);
  relayOther(sender, fields);
}

void LobbyServer::relayWatchRequest(int sender, const MessageFields& fields) {
  const std::string_view which = fields.field(at::kWatchSide);
  // Only a player who is there can be watched: an entry naming an empty slot would hand the
  // calls of whoever takes it next to this watcher. -1 (or any other id) gives "none".
  const int addressee = fields.number(at::kPeer);
  const std::uint8_t watched = inSlotRange(addressee) && welcomed_[addressee]
                                   ? static_cast<std::uint8_t>(addressee)
                                   : kNoWatch;
  if (!which.empty() && which[0] == protocol::kWatchSecond[0]) watchSecond_[sender] = watched;
  if (!which.empty() && which[0] == protocol::kWatchFirst[0]) watchFirst_[sender] = watched;
  relayOther(sender, fields);
  // The second of a watcher's two requests: the watched match's latest call, as it was relayed.
  if (!which.empty() && which[0] == protocol::kWatchSecond[0] && watchFirst_[sender] != kNoWatch &&
      watched != kNoWatch) {
    replayLastCall(sender, watchFirst_[sender], watched);
  }
}

void LobbyServer::replayLastCall(int watcher, int first, int second) {
  // Only the two of one running match: anything else has no common course to show.
  if (opponent_[first] != second) return;
  const int latest = lastCallOrder_[first] > lastCallOrder_[second] ? first : second;
  if (!lastCall_[latest].empty()) sendToPlayer(watcher, lastCall_[latest]);
}

void LobbyServer::relayOther(int sender, const MessageFields& fields) {
  sendToPlayer(fields.number(at::kPeer), forwardedLine(sender, fields, kOtherLastField));
}

void LobbyServer::announceMatch(char kind, int first, int second) {
  broadcast(LineBuilder(protocol::kStList)
                .text(std::string_view(&kind, 1))
                .number(first)
                .number(second)
                .line());
}

void LobbyServer::clearWatchEntries(int slot) {
  watchFirst_[slot] = kNoWatch;
  watchSecond_[slot] = kNoWatch;
}

void LobbyServer::onListenEnded() {
  if (announcer_) announcer_->stop();
  listeningStopped_ = true;
  if (endedHandler_) endedHandler_(listenGeneration_.load());
}

}  // namespace pentaro
