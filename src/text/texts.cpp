// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/texts.h"

#include "text/cp932.h"
#include "text/language.h"

namespace pentaro {
namespace {

Texts makeTexts() {
  // What goes over the wire (the host's notices, the note to a late acceptor) and the marks
  // between names stay as they are in every language; everything else comes from the catalog.
  auto t = [](const char* utf8) { return cp932::fromUtf8(utf8); };
  Texts x;
  x.programTitle = localized("Pentaroゲーム");
  x.boxCaption = localized("PentaroGame");
  x.version = localized("Version 1.01");
  x.versionFrame = localized("Version Info");
  x.ruleText = localized(
      "ルール：交互に、数字をクリックして、縦横斜め５列先に並べたら勝ちのゲーム\n"
      "  自由に選択した人と対戦、観戦ができます");
  x.participantsHeading = localized("参加者＆★対戦情報");
  x.serverAddressLabel = localized("サーバーIP：");
  x.playerNameLabel = localized("お名前：");
  x.connectButton = localized("接続");
  x.beServerButton = localized("サーバーになる");
  x.challengeButton = localized("対戦");
  x.endMatchButton = localized("対戦終了");
  x.spectateButton = localized("観戦");
  x.chatSendButton = localized("発言");
  x.placeManuallyButton = localized("自分で配置");
  x.autoPlaceRestButton = localized("残りを自動配置");
  x.quitWhilePlaying = localized("対戦中です。終了しますか？");
  x.closeWhileOthersPlay = localized("このサーバーで対戦中の人がいます。サーバーを閉じますか？");

  x.notConnected = localized("未接続です");
  x.connecting = localized("接続中です...");
  x.connected = localized("接続しました");
  x.waitingForMatch = localized("対戦待ち・・・");
  x.placeFromOne = localized("1番から、順番に配置してください");
  x.nextToPlaceFormat = localized("次は、%d");
  x.placementDone = localized("配置完了");
  x.autoPlacementDone = localized("自動配置完了");
  x.movesFirst = localized("先手です");
  x.movesSecond = localized("後手です");
  x.yourTurn = localized("あなたの番です");
  x.opponentsTurn = localized("相手の番です");
  x.youWin = localized("あなたの勝ちです");
  x.opponentWins = localized("相手の勝ちです");
  x.draw = localized("引き分けです");
  // TRANSLATORS: follows a player's name (a watched match): "X wins".
  x.winsSuffix = localized("の勝ちです");
  x.watching = localized("観戦中");

  x.connectionClosed = localized("接続を閉じました");
  x.serverClosed = localized("サーバーを閉じました");
  x.settingsNotSaved = localized("設定を保存できませんでした");
  // TRANSLATORS: follows a player's name.
  x.opponentLeftSuffix = localized("さんがいなくなったので、対戦を終わりました");
  // TRANSLATORS: follows a player's name.
  x.watchedLeftSuffix = localized("さんがいなくなったので、観戦を終わりました");
  x.hostingFailedFormat =
      localized("ポート %d はほかのプログラムが使っているので、サーバーになれませんでした");
  x.serverNotStarted = localized("サーバーを始められませんでした");
  x.connectFailedFormat = localized("接続できませんでした（相手: %s）");
  x.connectCancelled = localized("接続をやめました");
  x.connectionLostInMatch = localized("サーバーとの接続が切れたので、対戦を終わりました");
  x.watchedMatchEnded = localized("観戦していた対戦が終わりました");
  x.chatNotSent = localized("接続していないので、発言は送られませんでした");
  x.cannotChallengeSelf = localized("自分とは対戦できません。参加者の一覧から相手を選んでください");
  x.cannotWatchSelf =
      localized("自分の対戦は観戦できません。参加者の一覧から対戦中の人を選んでください");
  x.chooseParticipant = localized("参加者の一覧から、相手を選んでください");
  x.notConnectedYet = localized("まだ接続していません。先に接続してください");
  x.connectionLost = localized("サーバーとの接続が切れました。自動で接続し直します");
  x.rejoinGaveUp = localized("接続し直せなかったので、あきらめました");
  x.rejoinInFormat = localized("%d 秒後に接続し直します");
  x.settingsUnreadable = localized("設定ファイル（qm.ini）を読めなかったので、空欄から始めます");
  x.badPlayerIdFormat = localized("サーバーから届いた番号 %d は 0～9 ではないので、接続を閉じます");
  x.matchStarted = localized("ゲームが始まりました");
  x.matchEnded = localized("ゲームが終わりました");
  x.mapReceived = localized("マップ受信完了");
  x.mapNotReceived = localized("まだ相手の、マップ（配置）を受信していません");
  x.pleaseWait = localized("受信するまで、お待ちください");
  x.challenging = localized("対戦申し込み中・・・");
  x.fetchingMatch = localized("対戦情報を取得中・・・");
  x.fetchingMaps = localized("マップを取得中・・・");
  x.challengeNoticePrefix = t("* ");
  // TRANSLATORS: follows "* " and a player's name.
  x.challengeNotice = localized("さん　から、対戦の申し込みがありました");
  x.busyIgnoring = localized("対戦中なので、無視します・・・");
  // TRANSLATORS: follows a player's name: the question whether to play the match.
  x.askChallenge = localized("さんと、対戦しますか？");
  // TRANSLATORS: follows a player's name.
  x.acceptedChallenge = localized("さんが　対戦を了承してくれました");
  // TRANSLATORS: follows a player's name.
  x.refusedChallenge = localized("さんが　対戦をことわりました");
  // TRANSLATORS: "X" + this + "Y" + the next text: X is playing a match against Y.
  x.isNowPlaying = localized("さんは、今、");
  // TRANSLATORS: follows a player's name.
  x.isPlayingWith = localized("さんと、対戦中です。");
  // TRANSLATORS: follows "X accepted the challenge" when the player is already in a match.
  x.ignoringLateAcceptance = localized("が、無視しちゃいます・・・（汗）");
  x.alreadyPlaying = t("さんは、すでに、");
  x.alreadyPlayingWith = t("さんと、対戦しています・・・");
  // TRANSLATORS: follows a player's name.
  x.notInMatch = localized("さんは、対戦中ではありません");
  x.chatSeparator = t(" : ");
  x.matchStar = t(" ★ ");
  // TRANSLATORS: the player's name until one is typed; it goes to the other players as is.
  x.defaultName = localized("名無し");
  x.hostAddressPrefix = localized("ほかのパソコンからの接続先：");
  x.onlyThisMachine =
      localized("ネットワークのアドレスがないので、このパソコンからしか接続できません");
  x.lobbiesNotFoundAutomatically = localized(
      "Avahi が動いていないので、サーバーを自動では探せません。サーバーIPを入力してください");
  x.foundLobbiesName = localized("見つかったサーバー");
  x.foundLobbyPlayersFormat = localized("%d人");
  x.foundLobbyOtherPortFormat = localized("ポート %d");
  x.noLobbyFound = localized("サーバーは見つかっていません");
  x.lobbiesNotSearchable = localized("サーバーを自動では探せません");

  x.greetingLine = t("MSG\tサーバのバージョンは 1.01 です。");
  x.greetingShown = localized("サーバのバージョンは 1.01 です。");
  x.arrivalSuffix = t("さんの登場です");
  x.departureSuffix = t("さんが、いなくなりました");
  x.provisionalName = t("?");
  // The host's arrival and departure notices as this player reads them.
  // TRANSLATORS: follows a player's name: the host's notice of a player arriving, leaving.
  x.arrivalShownSuffix = localized("さんの登場です");
  x.departureShownSuffix = localized("さんが、いなくなりました");

  // TRANSLATORS: the computer player's strengths, in its menu and its name.
  x.levelWeak = localized("よわい");
  x.levelNormal = localized("ふつう");
  x.levelStrong = localized("つよい");
  // TRANSLATORS: the invited computer player's name: this, the strength and ")".
  x.computerNamePrefix = localized("コンピュータ(");
  x.computerNameSuffix = t(")");
  x.inviteComputer = localized("コンピュータを呼ぶ");
  return x;
}

}  // namespace

const Texts& texts() {
  static const Texts table = makeTexts();
  return table;
}

}  // namespace pentaro
