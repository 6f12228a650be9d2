// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The system's own texts, in CP932. The table is written once, in UTF-8, in texts.cpp, looked up
// in the language's catalog (language.h) and converted when first used; `texts()` is thread-safe
// and the table never changes afterwards. The host's notices stay Japanese in every language.
#ifndef PENTARO_TEXT_TEXTS_H_
#define PENTARO_TEXT_TEXTS_H_

#include <string>

namespace pentaro {

struct Texts {
  // Window title, captions and control labels.
  std::string programTitle;  // "Pentaroゲーム"
  std::string boxCaption;    // "PentaroGame"
  std::string version;       // "Version 1.01"
  std::string versionFrame;  // "Version Info"
  std::string ruleText;
  std::string participantsHeading;
  std::string serverAddressLabel;
  std::string playerNameLabel;
  std::string connectButton;
  std::string beServerButton;
  std::string challengeButton;
  std::string endMatchButton;
  std::string spectateButton;
  std::string chatSendButton;
  std::string placeManuallyButton;
  std::string autoPlaceRestButton;
  std::string quitWhilePlaying;      // asked when the window is closed during a match
  std::string closeWhileOthersPlay;  // asked before a host closes a lobby with matches running

  // Status line.
  std::string notConnected;
  std::string connecting;
  std::string connected;
  std::string waitingForMatch;
  std::string placeFromOne;
  std::string nextToPlaceFormat;  // contains %d
  std::string placementDone;
  std::string autoPlacementDone;
  std::string movesFirst;
  std::string movesSecond;
  std::string yourTurn;
  std::string opponentsTurn;
  std::string youWin;
  std::string opponentWins;
  std::string draw;
  std::string winsSuffix;
  std::string watching;

  // Chat log.
  std::string connectionClosed;
  std::string serverClosed;
  std::string matchStarted;
  std::string matchEnded;
  std::string mapReceived;
  std::string mapNotReceived;
  std::string pleaseWait;
  std::string challenging;
  std::string fetchingMatch;
  std::string fetchingMaps;
  std::string challengeNoticePrefix;  // "* "
  std::string challengeNotice;
  std::string busyIgnoring;
  std::string askChallenge;
  std::string acceptedChallenge;
  std::string refusedChallenge;
  std::string isNowPlaying;
  std::string isPlayingWith;
  std::string ignoringLateAcceptance;
  std::string alreadyPlaying;  // the note to a late acceptor: on the wire, never translated
  std::string alreadyPlayingWith;
  std::string notInMatch;
  std::string chatSeparator;  // " : "
  std::string matchStar;      // " ★ "
  std::string defaultName;    // "名無し"
  std::string settingsNotSaved;
  std::string opponentLeftSuffix;   // after the name: the match ended because the opponent left
  std::string watchedLeftSuffix;    // after the name: watching ended because a player left
  std::string hostingFailedFormat;  // %d: the port
  std::string serverNotStarted;
  std::string connectFailedFormat;  // %s: the address
  std::string connectCancelled;
  std::string connectionLostInMatch;  // the connection dropped during the player's match
  std::string watchedMatchEnded;      // after the names: the watched match ended
  std::string chatNotSent;
  std::string cannotChallengeSelf;
  std::string cannotWatchSelf;
  std::string chooseParticipant;
  std::string notConnectedYet;
  std::string settingsUnreadable;
  std::string badPlayerIdFormat;
  std::string connectionLost;  // the connection dropped unasked: it is tried again
  std::string rejoinGaveUp;    // no attempt got in for minutes
  std::string rejoinInFormat;  // %d: seconds until the next attempt (status line)      // %d: the
                               // number the host sent as the player's id

  // Where other machines connect, when hosting.
  std::string hostAddressPrefix;  // followed by "192.168.1.20 (eth0)"
  std::string onlyThisMachine;

  // Lobbies found on the network (DNS-SD), in the address field's drop-down list.
  std::string lobbiesNotFoundAutomatically;  // once in the chat log when the daemon is missing
  std::string foundLobbiesName;              // what screen readers call the list
  std::string foundLobbyPlayersFormat;       // %d: the players in the lobby
  std::string foundLobbyOtherPortFormat;     // %d: a port this window does not connect to
  std::string noLobbyFound;
  std::string lobbiesNotSearchable;

  // Server notices: on the wire, never translated.
  std::string greetingLine;  // the whole "MSG" line of the welcome
  std::string arrivalSuffix;
  std::string departureSuffix;
  std::string provisionalName;  // "?"
  // The greeting's text and the arrival and departure notices in the player's language (the same
  // as above in Japanese).
  std::string greetingShown;
  std::string arrivalShownSuffix;
  std::string departureShownSuffix;

  // The computer player.
  std::string levelWeak;
  std::string levelNormal;
  std::string levelStrong;
  std::string computerNamePrefix;  // "コンピュータ(" + strength + ")"
  std::string computerNameSuffix;
  std::string inviteComputer;  // the participant list's context menu
};

const Texts& texts();

}  // namespace pentaro

#endif  // PENTARO_TEXT_TEXTS_H_
