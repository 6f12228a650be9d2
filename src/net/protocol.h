// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The lobby's wire protocol. Every message, in either direction, is one line:
//
//   line    = command *( TAB field ) CR LF
//   command = 1*( "A".."Z" / "_" )          compared whole and case-sensitively
//   field   = *( any byte but TAB, CR, LF, NUL )   CP932 text or a "%d" number
//
// A received line is split into at most 30 fields; a missing field reads as empty, a number is
// read leniently (blanks, optional sign, digits; no digits give 0). A message meant for another
// player carries the addressee's PlayerId in field 1; the server forwards it with the sender's
// PlayerId there instead.
//
// Client to server                  Server to client
//   NEW_C name                        ID id                      (first line of the welcome)
//   CHAT text                         MSG text                   (greeting, arrivals, notes)
//   MSG to text                       ADD id name
//   STARTVS to                        DEL id
//   RE_STARTVS to OK|NO|NOW_VS x      STLIST S|E a b             (a match starts or ends)
//   GET_VS_ID to                      CHAT from name text
//   RE_VS_ID to opponent              and every command on the left, forwarded with the
//   REQ_FL to I|E                     sender in field 1: PLOT with 4 fields, SET_E_FL with
//   SET_E_FL to c0 .. c24             30, every other command with 7 (missing ones empty)
//   PLOT to number
//   END_VS to
#ifndef PENTARO_NET_PROTOCOL_H_
#define PENTARO_NET_PROTOCOL_H_

#include <string_view>

namespace pentaro::protocol {

inline constexpr int kLobbyPort = 1230;
inline constexpr int kMaxFields = 30;
inline constexpr int kNoPlayer = -1;
// A PlayerId is one of the host's slots: 0 to kPlayerSlots - 1.
inline constexpr int kPlayerSlots = 10;

inline constexpr std::string_view kNewC = "NEW_C";
inline constexpr std::string_view kId = "ID";
inline constexpr std::string_view kAdd = "ADD";
inline constexpr std::string_view kDel = "DEL";
inline constexpr std::string_view kMsg = "MSG";
inline constexpr std::string_view kChat = "CHAT";
inline constexpr std::string_view kStList = "STLIST";
inline constexpr std::string_view kStartVs = "STARTVS";
inline constexpr std::string_view kReStartVs = "RE_STARTVS";
inline constexpr std::string_view kGetVsId = "GET_VS_ID";
inline constexpr std::string_view kReVsId = "RE_VS_ID";
inline constexpr std::string_view kReqFl = "REQ_FL";
inline constexpr std::string_view kSetEFl = "SET_E_FL";
inline constexpr std::string_view kPlot = "PLOT";
inline constexpr std::string_view kEndVs = "END_VS";

// Values of the answer and kind fields.
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kNo = "NO";
inline constexpr std::string_view kNowVs = "NOW_VS";
inline constexpr char kMatchStarted = 'S';
inline constexpr char kMatchEnded = 'E';
inline constexpr std::string_view kWatchFirst = "I";
inline constexpr std::string_view kWatchSecond = "E";

// Field positions; 0 is the command.
namespace at {
// A line for another player: the addressee as sent, the sender as forwarded.
inline constexpr int kPeer = 1;
inline constexpr int kText = 1;      // NEW_C, CHAT as sent; MSG from the server
inline constexpr int kNoteText = 2;  // MSG as sent, after the addressee
inline constexpr int kPlayer = 1;    // ID, ADD, DEL: a PlayerId
inline constexpr int kName = 2;      // ADD
inline constexpr int kChatName = 2;  // CHAT from the server: the speaker's name, then the text
inline constexpr int kChatText = 3;
inline constexpr int kListKind = 1;  // STLIST: S or E, then the two players
inline constexpr int kListFirst = 2;
inline constexpr int kListSecond = 3;
inline constexpr int kAnswer = 2;       // RE_STARTVS: OK, NO or NOW_VS ...
inline constexpr int kAnswerValue = 3;  // ... and the first-move flag (OK) or the opponent (NOW_VS)
inline constexpr int kOpponent = 2;     // RE_VS_ID: the opponent of the asked player
inline constexpr int kWatchSide = 2;    // REQ_FL: I or E
inline constexpr int kCalled = 2;       // PLOT: the number called
inline constexpr int kFirstCell = 2;    // SET_E_FL: the 25 cells from here
}  // namespace at

}  // namespace pentaro::protocol

#endif  // PENTARO_NET_PROTOCOL_H_
