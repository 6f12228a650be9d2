// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// pentaro-lobby: hosts a lobby without a display and without a player of its own. Its participant
// list is kept from the server's own announcements (the very lines every client receives), so a
// newcomer still learns who is there and who plays whom.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/command_line.h"
#include "base/licence_notice.h"
#include "discovery/lobby_txt.h"
#include "net/host_addresses.h"
#include "net/message_fields.h"
#include "net/protocol.h"
#include "server/announced_roster.h"
#include "server/host_log.h"
#include "server/lobby_server.h"
#include "text/cp932.h"
#include "text/language.h"

namespace {

using namespace pentaro;
using command_line::kExitFailure;
using command_line::kExitOk;
using command_line::kExitUsage;

constexpr long kMaxFloodLimit = 1000000;  // lines a second; beyond it the limit means nothing

void printUsage(std::FILE* out) {
  std::fprintf(
      out,
      localizedUtf8(
          "usage: pentaro-lobby [--port N] [--name NAME | --no-announce] [--flood-limit R]\n"
          "       pentaro-lobby --help | --version\n"
          "Hosts a Pentaro lobby for up to ten players on TCP port N (default %d).\n"
          "Players join it with the program's \"接続\" toggle and this machine's address.\n"
          "  --name NAME      announce the lobby on the local network (DNS-SD, through the\n"
          "                   Avahi daemon) as NAME (default: this machine's name)\n"
          "  --no-announce    do not announce it; players then type this machine's address\n"
          "  --flood-limit R  handle at most R lines a second of each player (default %d);\n"
          "                   more wait, none is lost; 0 turns flood control off\n"
          "Stop it with Ctrl+C (SIGINT) or SIGTERM.\n"),
      protocol::kLobbyPort, LobbyServer::kFloodLinesPerSecond);
}

// After the listening line: the addresses that players on other machines type in.
void logHostAddresses(HostLog& log) {
  const std::optional<std::vector<HostAddress>> addresses = hostAddresses();
  if (!addresses) {
    log.write(std::string("this machine's addresses cannot be read: ") + std::strerror(errno));
    return;
  }
  if (addresses->empty()) log.write("only this machine can join: it has no network address");
  for (const HostAddress& host : *addresses) {
    log.write("reachable at " + host.address + " (" + host.interfaceName + ")");
  }
}

namespace at = protocol::at;

std::string utf8(std::string_view text) { return cp932::toUtf8(text); }

// One log line for each arrival, departure, match start and match end.
void logAnnouncement(const MessageFields& fields, const AnnouncedRoster& roster, HostLog& log) {
  if (fields.is(protocol::kAdd)) {
    log.write("join " + std::to_string(fields.number(at::kPlayer)) + " " +
              utf8(fields.field(at::kName)));
  } else if (fields.is(protocol::kDel)) {
    const int id = fields.number(at::kPlayer);
    log.write("leave " + std::to_string(id) + " " + utf8(roster.nameOf(id)));
  } else if (fields.is(protocol::kStList)) {
    const bool started =
        fields.field(at::kListKind).substr(0, 1) == std::string(1, protocol::kMatchStarted);
    const int first = fields.number(at::kListFirst);
    const int second = fields.number(at::kListSecond);
    log.write("match " + std::to_string(first) + " " + utf8(roster.nameOf(first)) + " vs " +
              std::to_string(second) + " " + utf8(roster.nameOf(second)) +
              (started ? " started" : " ended"));
  }
}

struct Options {
  int port = protocol::kLobbyPort;
  int floodLimit = LobbyServer::kFloodLinesPerSecond;
  bool announce = true;
  std::string name;  // empty: the machine's name
};

// One log line each time the announcement is made, cannot be made, or is refused; through the
// host's log like every other line, so that a standard output nobody reads holds up nobody.
void logAnnouncer(HostLog& log, LobbyAnnouncer::Event event, const std::string& name) {
  switch (event) {
    case LobbyAnnouncer::Event::kEstablished:
      log.write("announced as \"" + name + "\" (" + lobby_txt::kServiceType + ")");
      break;
    case LobbyAnnouncer::Event::kNoDaemon:
      log.write("not announced: the Avahi daemon is not running (players type the address)");
      break;
    case LobbyAnnouncer::Event::kFailed:
      log.write("not announced: the Avahi daemon refused \"" + name + "\"");
      break;
  }
}

// Reads the command line into `options`; an exit status when the program is to end now (after
// --help, --version or a wrong argument).
std::optional<int> parseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      printUsage(stdout);
      return kExitOk;
    }
    if (arg == "--version") {
      std::printf("pentaro-lobby %s\n%s", PENTARO_VERSION, kLicenceNotice);
      return kExitOk;
    }
    if (arg == "--port" && i + 1 < argc) {
      const auto port = command_line::wholeNumber(argv[++i], 1, 65535);
      if (!port) {
        std::fprintf(stderr, localizedUtf8("pentaro-lobby: not a port number: %s\n"), argv[i]);
        return kExitUsage;
      }
      options.port = static_cast<int>(*port);
      continue;
    }
    if (arg == "--name" && i + 1 < argc) {
      options.name = argv[++i];
      continue;
    }
    if (arg == "--no-announce") {
      options.announce = false;
      continue;
    }
    if (arg == "--flood-limit" && i + 1 < argc) {
      const auto rate = command_line::wholeNumber(argv[++i], 0, kMaxFloodLimit);
      if (!rate) {
        std::fprintf(stderr, localizedUtf8("pentaro-lobby: not a line rate: %s\n"), argv[i]);
        return kExitUsage;
      }
      options.floodLimit = static_cast<int>(*rate);
      continue;
    }
    std::fprintf(stderr, localizedUtf8("pentaro-lobby: unknown argument: %s\n"), arg.c_str());
    printUsage(stderr);
    return kExitUsage;
  }
  return std::nullopt;
}

// Hosts until SIGINT or SIGTERM (status 0) or until listening ends by itself (status 1).
int serve(const Options& options) {
  // The signals are taken by sigwait below; every thread started from here on blocks them.
  // SIGUSR1: listening has ended by itself.
  const sigset_t signals = command_line::blockStopSignals({SIGUSR1});
  const pthread_t mainThread = pthread_self();

  // The log is written by a thread of its own: the server logs under its lock, and a standard
  // output that nobody reads must not hold up the players. It outlives the server.
  HostLog log(STDOUT_FILENO);
  AnnouncedRoster roster;  // outlives the server, which announces departures while it stops
  LobbyServer server;
  server.setFloodLimit(options.floodLimit);
  server.setRoster(&roster);
  server.setAnnouncementSink([&roster, &log](std::string_view line) {
    logAnnouncement(MessageFields(line), roster, log);  // before a departure takes the name
    roster.apply(line);
  });
  server.setFloodedHandler([&roster, &log](int slot) {
    log.write("flood " + std::to_string(slot) + " " + utf8(roster.nameOf(slot)) +
              ": ended, too many lines waiting");
  });
  server.setEndedHandler([mainThread](std::uint64_t) { pthread_kill(mainThread, SIGUSR1); });
  if (options.announce) {
    server.setAnnouncement(options.name,
                           [&log](LobbyAnnouncer::Event event, const std::string& name) {
                             logAnnouncer(log, event, name);
                           });
  }

  if (!server.startServer(options.port) || server.listenError() != 0) {
    const int error = server.listenError();
    std::fprintf(stderr, localizedUtf8("pentaro-lobby: cannot listen on port %d: %s\n"),
                 options.port, error != 0 ? std::strerror(error) : localizedUtf8("no socket"));
    return kExitFailure;
  }
  log.write("listening on port " + std::to_string(options.port));
  logHostAddresses(log);

  int received = 0;
  sigwait(&signals, &received);
  server.stopServer();
  if (received == SIGUSR1) {
    std::fprintf(stderr, localizedUtf8("pentaro-lobby: listening on port %d ended\n"),
                 options.port);
    return kExitFailure;
  }
  // Listening ends only after every departure has run: wait for it, so that the departures of
  // the players still connected are logged before the last line.
  sigset_t ended;
  sigemptyset(&ended);
  sigaddset(&ended, SIGUSR1);
  sigwait(&ended, &received);
  log.write("lines received " + std::to_string(server.linesReceived()));
  log.write("stopped");
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  pentaro::startLanguage();
  Options options;
  if (const auto status = parseArguments(argc, argv, options)) return *status;
  return serve(options);
}
