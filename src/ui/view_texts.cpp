// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/view_texts.h"

#include <cstdio>
#include <limits>
#include <utility>
#include <vector>

#include "text/texts.h"

namespace pentaro {
namespace {

// The formats of the table hold one %d or one %s; the buffer fits the format's own text (of any
// length a translation gives it) and the longest field.
std::string format(const std::string& pattern, int number) { return formatNumber(pattern, number); }

std::string format(const std::string& pattern, const std::string& text) {
  std::vector<char> buffer(pattern.size() + text.size() + 1);
  std::snprintf(buffer.data(), buffer.size(), pattern.c_str(), text.c_str());
  return buffer.data();
}

}  // namespace

std::string formatNumber(const std::string& pattern, int number) {
  std::vector<char> buffer(pattern.size() + std::numeric_limits<int>::digits10 + 3);
  std::snprintf(buffer.data(), buffer.size(), pattern.c_str(), number);
  return buffer.data();
}

std::string statusText(const Status& status) {
  const Texts& t = texts();
  switch (status.kind) {
    case Status::Kind::kNotConnected:
      return t.notConnected;
    case Status::Kind::kConnecting:
      return t.connecting;
    case Status::Kind::kConnected:
      return t.connected;
    case Status::Kind::kWaitingForMatch:
      return t.waitingForMatch;
    case Status::Kind::kPlaceFromOne:
      return t.placeFromOne;
    case Status::Kind::kNextToPlace:
      return format(t.nextToPlaceFormat, status.number);
    case Status::Kind::kPlacementDone:
      return t.placementDone;
    case Status::Kind::kAutoPlacementDone:
      return t.autoPlacementDone;
    case Status::Kind::kMovesFirst:
      return t.movesFirst;
    case Status::Kind::kMovesSecond:
      return t.movesSecond;
    case Status::Kind::kYourTurn:
      return t.yourTurn;
    case Status::Kind::kOpponentsTurn:
      return t.opponentsTurn;
    case Status::Kind::kYouWin:
      return t.youWin;
    case Status::Kind::kOpponentWins:
      return t.opponentWins;
    case Status::Kind::kDraw:
      return t.draw;
    case Status::Kind::kPlayerWins:
      return status.name + t.winsSuffix;
    case Status::Kind::kWatching:
      return t.watching;
    case Status::Kind::kRejoinIn:
      return format(t.rejoinInFormat, status.number);
  }
  return {};
}

std::string noticeText(const Notice& notice) {
  const Texts& t = texts();
  const std::string& name = notice.name;
  switch (notice.kind) {
    case Notice::Kind::kConnectionClosed:
      return t.connectionClosed;
    case Notice::Kind::kServerClosed:
      return t.serverClosed;
    case Notice::Kind::kHostingFailed:
      return format(t.hostingFailedFormat, notice.number);
    case Notice::Kind::kServerNotStarted:
      return t.serverNotStarted;
    case Notice::Kind::kConnectFailed:
      return format(t.connectFailedFormat, name);
    case Notice::Kind::kHostAddress:
      return t.hostAddressPrefix + name + " (" + notice.other + ")";
    case Notice::Kind::kOnlyThisMachine:
      return t.onlyThisMachine;
    case Notice::Kind::kMatchStarted:
      return t.matchStarted;
    case Notice::Kind::kMatchEnded:
      return t.matchEnded;
    case Notice::Kind::kMovesFirst:
      return t.movesFirst;
    case Notice::Kind::kMovesSecond:
      return t.movesSecond;
    case Notice::Kind::kMapReceived:
      return t.mapReceived;
    case Notice::Kind::kMapNotReceived:
      return t.mapNotReceived;
    case Notice::Kind::kPleaseWait:
      return t.pleaseWait;
    case Notice::Kind::kChallenging:
      return t.challenging;
    case Notice::Kind::kFetchingMatch:
      return t.fetchingMatch;
    case Notice::Kind::kFetchingMaps:
      return t.fetchingMaps;
    case Notice::Kind::kChallengeFrom:
      return t.challengeNoticePrefix + name + t.challengeNotice;
    case Notice::Kind::kBusyIgnoring:
      return t.busyIgnoring;
    case Notice::Kind::kAccepted:
      return name + t.acceptedChallenge;
    case Notice::Kind::kIgnoringLateAcceptance:
      return name + t.acceptedChallenge + t.ignoringLateAcceptance;
    case Notice::Kind::kRefused:
      return name + t.refusedChallenge;
    case Notice::Kind::kNowPlaying:
      return name + t.isNowPlaying + notice.other + t.isPlayingWith;
    case Notice::Kind::kNotInMatch:
      return name + t.notInMatch;
    case Notice::Kind::kOpponentLeft:
      return name + t.opponentLeftSuffix;
    case Notice::Kind::kWatchedLeft:
      return name + t.watchedLeftSuffix;
    case Notice::Kind::kSettingsNotSaved:
      return t.settingsNotSaved;
    case Notice::Kind::kSettingsUnreadable:
      return t.settingsUnreadable;
    case Notice::Kind::kConnectCancelled:
      return t.connectCancelled;
    case Notice::Kind::kConnectionLostInMatch:
      return t.connectionLostInMatch;
    case Notice::Kind::kWatchedMatchEnded:
      return t.watchedMatchEnded;
    case Notice::Kind::kChatNotSent:
      return t.chatNotSent;
    case Notice::Kind::kCannotChallengeSelf:
      return t.cannotChallengeSelf;
    case Notice::Kind::kCannotWatchSelf:
      return t.cannotWatchSelf;
    case Notice::Kind::kChooseParticipant:
      return t.chooseParticipant;
    case Notice::Kind::kNotConnectedYet:
      return t.notConnectedYet;
    case Notice::Kind::kConnectionLost:
      return t.connectionLost;
    case Notice::Kind::kRejoinGaveUp:
      return t.rejoinGaveUp;
    case Notice::Kind::kLobbiesNotFoundAutomatically:
      return t.lobbiesNotFoundAutomatically;
    case Notice::Kind::kBadPlayerId:
      return format(t.badPlayerIdFormat, notice.number);
  }
  return {};
}

std::string chatText(std::string_view name, std::string_view text) {
  std::string line(name);
  line += texts().chatSeparator;
  line += text;
  return line;
}

std::string challengeQuestion(std::string_view name) {
  return std::string(name) + texts().askChallenge;
}

std::string questionCaption() { return texts().boxCaption; }

std::string hostMessageText(std::string_view text) {
  const Texts& t = texts();
  // The welcome's line is "MSG", a tab and the greeting.
  const std::string_view greeting =
      std::string_view(t.greetingLine).substr(t.greetingLine.find('\t') + 1);
  if (text == greeting) return t.greetingShown;
  const std::pair<const std::string&, const std::string&> notices[] = {
      {t.arrivalSuffix, t.arrivalShownSuffix}, {t.departureSuffix, t.departureShownSuffix}};
  for (const auto& [sent, shown] : notices) {
    // The host's notice is a name and the suffix; the suffix alone is not one.
    if (text.size() > sent.size() && text.ends_with(sent)) {
      return std::string(text.substr(0, text.size() - sent.size())) + shown;
    }
  }
  return std::string(text);
}

}  // namespace pentaro
