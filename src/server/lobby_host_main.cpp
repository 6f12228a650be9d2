// pentaro-lobby: hosts a lobby without a display and without a player of its own. Its participant
// list is kept from the server's own announcements (the very lines every client receives), so a
// newcomer still learns who is there and who plays whom.
#include <pthread.h>
#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/licence_notice.h"
#include "net/host_addresses.h"
#include "net/message_fields.h"
#include "net/protocol.h"
#include "server/announced_roster.h"
#include "server/lobby_server.h"
#include "text/cp932.h"

namespace {

using namespace pentaro;

constexpr long kMaxFloodLimit = 1000000;  // lines a second; beyond it the limit means nothing

void printUsage(std::FILE* out) {
  std::fprintf(out,
               "usage: pentaro-lobby [--port N] [--flood-limit R]\n"
               "       pentaro-lobby --help | --version\n"
               "Hosts a Pentaro lobby for up to ten players on TCP port N (default %d).\n"
               "Players join it with the program's \"接続\" toggle and this machine's address.\n"
               "  --flood-limit R  handle at most R lines a second of each player (default %d);\n"
               "                   more wait, none is lost; 0 turns flood control off\n"
               "Stop it with Ctrl+C (SIGINT) or SIGTERM.\n",
               protocol::kLobbyPort, LobbyServer::kFloodLinesPerSecond);
}

// After the listening line: the addresses that players on other machines type in.
void printHostAddresses() {
  const std::optional<std::vector<HostAddress>> addresses = hostAddresses();
  if (!addresses) {
    std::printf("this machine's addresses cannot be read: %s\n", std::strerror(errno));
    return;
  }
  if (addresses->empty()) std::printf("only this machine can join: it has no network address\n");
  for (const HostAddress& host : *addresses) {
    std::printf("reachable at %s (%s)\n", host.address.c_str(), host.interfaceName.c_str());
  }
}

// One log line for each arrival, departure, match start and match end.
void logAnnouncement(const MessageFields& fields, const AnnouncedRoster& roster) {
  auto utf8 = [](std::string_view text) { return cp932::toUtf8(text); };
  if (fields.is(protocol::kAdd)) {
    std::printf("join %d %s\n", fields.number(1), utf8(fields.field(2)).c_str());
  } else if (fields.is(protocol::kDel)) {
    std::printf("leave %d %s\n", fields.number(1), utf8(roster.nameOf(fields.number(1))).c_str());
  } else if (fields.is(protocol::kStList)) {
    const bool started = fields.field(1).substr(0, 1) == "S";
    std::printf("match %d %s vs %d %s %s\n", fields.number(2),
                utf8(roster.nameOf(fields.number(2))).c_str(), fields.number(3),
                utf8(roster.nameOf(fields.number(3))).c_str(), started ? "started" : "ended");
  } else {
    return;
  }
  std::fflush(stdout);
}

struct Options {
  int port = protocol::kLobbyPort;
  int floodLimit = LobbyServer::kFloodLinesPerSecond;
};

// A whole decimal number within [low, high], or nothing.
std::optional<int> wholeNumber(const char* text, long low, long high) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < low || value > high) return std::nullopt;
  return static_cast<int>(value);
}

// Reads the command line into `options`; an exit status when the program is to end now (after
// --help, --version or a wrong argument).
std::optional<int> parseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      printUsage(stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("pentaro-lobby %s\n%s", PENTARO_VERSION, kLicenceNotice);
      return 0;
    }
    if (arg == "--port" && i + 1 < argc) {
      const auto port = wholeNumber(argv[++i], 1, 65535);
      if (!port) {
        std::fprintf(stderr, "pentaro-lobby: not a port number: %s\n", argv[i]);
        return 2;
      }
      options.port = *port;
      continue;
    }
    if (arg == "--flood-limit" && i + 1 < argc) {
      const auto rate = wholeNumber(argv[++i], 0, kMaxFloodLimit);
      if (!rate) {
        std::fprintf(stderr, "pentaro-lobby: not a line rate: %s\n", argv[i]);
        return 2;
      }
      options.floodLimit = *rate;
      continue;
    }
    std::fprintf(stderr, "pentaro-lobby: unknown argument: %s\n", arg.c_str());
    printUsage(stderr);
    return 2;
  }
  return std::nullopt;
}

// Hosts until SIGINT or SIGTERM (status 0) or until listening ends by itself (status 1).
int serve(const Options& options) {
  // The signals are taken by sigwait below; every thread started from here on blocks them.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGUSR1);  // listening has ended by itself
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  const pthread_t mainThread = pthread_self();

  AnnouncedRoster roster;  // outlives the server, which announces departures while it stops
  LobbyServer server;
  server.setFloodLimit(options.floodLimit);
  server.setRoster(&roster);
  server.setAnnouncementSink([&roster](std::string_view line) {
    logAnnouncement(MessageFields(line), roster);  // before a departure takes the name away
    roster.apply(line);
  });
  server.setEndedHandler([mainThread] { pthread_kill(mainThread, SIGUSR1); });

  if (!server.startServer(options.port) || server.listenError() != 0) {
    const int error = server.listenError();
    std::fprintf(stderr, "pentaro-lobby: cannot listen on port %d: %s\n", options.port,
                 error != 0 ? std::strerror(error) : "no socket");
    return 1;
  }
  std::printf("listening on port %d\n", options.port);
  printHostAddresses();
  std::fflush(stdout);

  int received = 0;
  sigwait(&signals, &received);
  server.stopServer();
  if (received == SIGUSR1) {
    std::fprintf(stderr, "pentaro-lobby: listening on port %d ended\n", options.port);
    return 1;
  }
  // Listening ends only after every departure has run: wait for it, so that the departures of
  // the players still connected are logged before the last line.
  sigset_t ended;
  sigemptyset(&ended);
  sigaddset(&ended, SIGUSR1);
  sigwait(&ended, &received);
  std::printf("lines received %llu\n", static_cast<unsigned long long>(server.linesReceived()));
  std::printf("stopped\n");
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const auto status = parseArguments(argc, argv, options)) return *status;
  return serve(options);
}
