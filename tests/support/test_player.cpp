// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/test_player.h"

#include <thread>

#include "text/cp932.h"

namespace pentaro::testing {

std::string sjis(const std::string& utf8Text) { return cp932::fromUtf8(utf8Text); }
std::string utf8(const std::string& cp932Text) { return cp932::toUtf8(cp932Text); }

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

TestPlayer::TestPlayer(int port, const std::string& nameUtf8, std::uint32_t seed,
                       const std::string& settingsPath, bool announce) {
  Program::Options options;
  options.port = port;
  options.announce = announce;
  options.settingsPath = settingsPath.empty() ? "/nonexistent/qm.ini" : settingsPath;
  program = std::make_unique<Program>(view, ui, options);
  run([&] {
    program->random().setState(seed);
    program->start();
    program->setPlayerName(sjis(nameUtf8));
  });
}

TestPlayer::~TestPlayer() {
  ui.stop();
  program.reset();
}

void TestPlayer::run(const std::function<void()>& fn) { ui.invokeAndWait(fn); }

void TestPlayer::hostLobby() {
  run([&] { program->host(); });
}

void TestPlayer::stopHosting() {
  run([&] { program->stopHosting(); });
}

void TestPlayer::connect(const std::string& address) {
  run([&] {
    program->setServerAddress(address);
    program->connect();
  });
}

void TestPlayer::disconnect() {
  run([&] { program->disconnect(); });
}

void TestPlayer::setName(const std::string& nameUtf8) {
  run([&] { program->setPlayerName(sjis(nameUtf8)); });
}

void TestPlayer::say(const std::string& textUtf8) {
  run([&] { program->sendChat(sjis(textUtf8)); });
}

bool TestPlayer::selectParticipant(int id) {
  bool found = false;
  run([&] { found = view.selectId(id); });
  return found;
}

void TestPlayer::challengeSelected() {
  run([&] { program->challenge(view.selectedId()); });
}

void TestPlayer::watchSelected() {
  run([&] { program->watch(view.selectedId()); });
}

void TestPlayer::endMatch() {
  run([&] { program->endMatch(); });
}

void TestPlayer::placeManually() {
  run([&] { program->placeManually(); });
}

void TestPlayer::autoPlaceRest() {
  run([&] { program->autoPlaceRest(); });
}

void TestPlayer::clickCell(int column, int row) {
  run([&] { program->clickOwnCell(column, row); });
}

void TestPlayer::call(int number) {
  run([&] {
    const Board& own = program->boards().own();
    for (int row = 0; row < Board::kSide; ++row) {
      for (int column = 0; column < Board::kSide; ++column) {
        if (own.cell(column, row) == number) {
          program->clickOwnCell(column, row);
          return;
        }
      }
    }
  });
}

std::vector<std::string> TestPlayer::participants() const {
  std::vector<std::string> lines;
  for (const std::string& line : view.listLines()) lines.push_back(utf8(line));
  return lines;
}

bool TestPlayer::chatHas(const std::string& lineUtf8) const {
  const std::string log = "\r\n" + chatLog();
  return log.find("\r\n" + lineUtf8 + "\r\n") != std::string::npos;
}

MatchFields TestPlayer::fields() {
  MatchFields f;
  run([&] { f = program->client().fields(); });
  return f;
}

std::string TestPlayer::name() {
  std::string text;
  run([&] { text = program->playerName(); });
  return text;
}

std::string TestPlayer::address() {
  std::string text;
  run([&] { text = program->serverAddress(); });
  return text;
}

Board TestPlayer::ownBoard() {
  Board b;
  run([&] { b = program->boards().own(); });
  return b;
}

Board TestPlayer::opponentBoard() {
  Board b;
  run([&] { b = program->boards().opponent(); });
  return b;
}

bool TestPlayer::gameOver() {
  bool over = false;
  run([&] { over = program->boards().gameOver(); });
  return over;
}

bool TestPlayer::connected() {
  bool up = false;
  run([&] { up = program->client().connected(); });
  return up;
}

bool TestPlayer::waitForChat(const std::string& lineUtf8) {
  return waitUntil([&] { return chatHas(lineUtf8); });
}

bool TestPlayer::waitForStatus(const std::string& textUtf8) {
  return waitUntil([&] { return status() == textUtf8; });
}

}  // namespace pentaro::testing
