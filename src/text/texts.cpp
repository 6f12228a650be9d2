#include "text/texts.h"

#include "text/cp932.h"

namespace pentaro {
namespace {

Texts makeTexts() {
  auto t = [](const char* utf8) { return cp932::fromUtf8(utf8); };
  Texts x;
  x.programTitle = t("Pentaroゲーム");
  x.boxCaption = t("PentaroGame");
  x.version = t("Version 1.01");
  x.versionFrame = t("Version Info");
  x.ruleText =
      t("ルール：交互に、数字をクリックして、縦横斜め５列先に並べたら勝ちのゲーム\n"
        "  自由に選択した人と対戦、観戦ができます");
  x.participantsHeading = t("参加者＆★対戦情報");
  x.serverAddressLabel = t("サーバーIP：");
  x.playerNameLabel = t("お名前：");
  x.connectButton = t("接続");
  x.beServerButton = t("サーバーになる");
  x.challengeButton = t("対戦");
  x.endMatchButton = t("対戦終了");
  x.spectateButton = t("観戦");
  x.chatSendButton = t("発言");
  x.placeManuallyButton = t("自分で配置");
  x.autoPlaceRestButton = t("残りを自動配置");
  x.quitWhilePlaying = t("対戦中です。終了しますか？");
  x.closeWhileOthersPlay = t("このサーバーで対戦中の人がいます。サーバーを閉じますか？");

  x.notConnected = t("未接続です");
  x.connecting = t("接続中です...");
  x.connected = t("接続しました");
  x.waitingForMatch = t("対戦待ち・・・");
  x.placeFromOne = t("1番から、順番に配置してください");
  x.nextToPlaceFormat = t("次は、%d");
  x.placementDone = t("配置完了");
  x.autoPlacementDone = t("自動配置完了");
  x.movesFirst = t("先手です");
  x.movesSecond = t("後手です");
  x.yourTurn = t("あなたの番です");
  x.opponentsTurn = t("相手の番です");
  x.youWin = t("あなたの勝ちです");
  x.opponentWins = t("相手の勝ちです");
  x.draw = t("引き分けです");
  x.winsSuffix = t("の勝ちです");
  x.watching = t("観戦中");

  x.connectionClosed = t("接続を閉じました");
  x.serverClosed = t("サーバーを閉じました");
  x.settingsNotSaved = t("設定を保存できませんでした");
  x.opponentLeftSuffix = t("さんがいなくなったので、対戦を終わりました");
  x.watchedLeftSuffix = t("さんがいなくなったので、観戦を終わりました");
  x.hostingFailedFormat =
      t("ポート %d はほかのプログラムが使っているので、サーバーになれませんでした");
  x.connectFailedFormat = t("接続できませんでした（相手: %s）");
  x.connectCancelled = t("接続をやめました");
  x.connectionLostInMatch = t("サーバーとの接続が切れたので、対戦を終わりました");
  x.watchedMatchEnded = t("観戦していた対戦が終わりました");
  x.chatNotSent = t("接続していないので、発言は送られませんでした");
  x.cannotChallengeSelf = t("自分とは対戦できません。参加者の一覧から相手を選んでください");
  x.cannotWatchSelf = t("自分の対戦は観戦できません。参加者の一覧から対戦中の人を選んでください");
  x.chooseParticipant = t("参加者の一覧から、相手を選んでください");
  x.notConnectedYet = t("まだ接続していません。先に接続してください");
  x.connectionLost = t("サーバーとの接続が切れました。自動で接続し直します");
  x.rejoinGaveUp = t("接続し直せなかったので、あきらめました");
  x.rejoinInFormat = t("%d 秒後に接続し直します");
  x.settingsUnreadable = t("設定ファイル（qm.ini）を読めなかったので、空欄から始めます");
  x.badPlayerIdFormat = t("サーバーから届いた番号 %d は 0～9 ではないので、接続を閉じます");
  x.matchStarted = t("ゲームが始まりました");
  x.matchEnded = t("ゲームが終わりました");
  x.mapReceived = t("マップ受信完了");
  x.mapNotReceived = t("まだ相手の、マップ（配置）を受信していません");
  x.pleaseWait = t("受信するまで、お待ちください");
  x.challenging = t("対戦申し込み中・・・");
  x.fetchingMatch = t("対戦情報を取得中・・・");
  x.fetchingMaps = t("マップを取得中・・・");
  x.challengeNoticePrefix = t("* ");
  x.challengeNotice = t("さん　から、対戦の申し込みがありました");
  x.busyIgnoring = t("対戦中なので、無視します・・・");
  x.askChallenge = t("さんと、対戦しますか？");
  x.acceptedChallenge = t("さんが　対戦を了承してくれました");
  x.refusedChallenge = t("さんが　対戦をことわりました");
  x.isNowPlaying = t("さんは、今、");
  x.isPlayingWith = t("さんと、対戦中です。");
  x.ignoringLateAcceptance = t("が、無視しちゃいます・・・（汗）");
  x.alreadyPlaying = t("さんは、すでに、");
  x.alreadyPlayingWith = t("さんと、対戦しています・・・");
  x.notInMatch = t("さんは、対戦中ではありません");
  x.chatSeparator = t(" : ");
  x.matchStar = t(" ★ ");
  x.defaultName = t("名無し");
  x.hostAddressPrefix = t("ほかのパソコンからの接続先：");
  x.onlyThisMachine = t("ネットワークのアドレスがないので、このパソコンからしか接続できません");
  x.lobbiesNotFoundAutomatically =
      t("Avahi が動いていないので、サーバーを自動では探せません。サーバーIPを入力してください");
  x.foundLobbiesName = t("見つかったサーバー");
  x.foundLobbyPlayersFormat = t("%d人");
  x.foundLobbyOtherPortFormat = t("ポート %d");
  x.noLobbyFound = t("サーバーは見つかっていません");
  x.lobbiesNotSearchable = t("サーバーを自動では探せません");

  x.greetingLine = t("MSG\tサーバのバージョンは 1.01 です。");
  x.arrivalSuffix = t("さんの登場です");
  x.departureSuffix = t("さんが、いなくなりました");
  x.provisionalName = t("?");

  x.levelWeak = t("よわい");
  x.levelNormal = t("ふつう");
  x.levelStrong = t("つよい");
  x.computerNamePrefix = t("コンピュータ(");
  x.computerNameSuffix = t(")");
  x.inviteComputer = t("コンピュータを呼ぶ");
  return x;
}

}  // namespace

const Texts& texts() {
  static const Texts table = makeTexts();
  return table;
}

}  // namespace pentaro
