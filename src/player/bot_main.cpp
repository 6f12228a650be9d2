// pentaro-bot: computer players. It joins a lobby as one or more computer players, each the same
// program a person's window runs, driven by a strategy; or, with --selfplay, it plays strategies
// against each other in this process without sockets and prints the tally.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/licence_notice.h"
#include "base/mutex.h"
#include "net/protocol.h"
#include "player/computer_player.h"
#include "player/self_play.h"
#include "player/strategy.h"
#include "text/cp932.h"
#include "text/texts.h"

namespace {

using namespace pentaro;
using std::chrono::milliseconds;

constexpr int kMaxPlayers = 10;  // a lobby holds ten
// A player that is not in the lobby this long after the start has failed to join.
constexpr auto kJoinLimit = std::chrono::seconds(10);
// On SIGINT/SIGTERM the running matches are played out for at most this long.
constexpr auto kDrainLimit = std::chrono::seconds(5);
constexpr std::uint32_t kSeedStep = 0x9e3779b9;

struct Arguments {
  long selfPlay = -1;
  Level level = Level::kStrong;
  Level against = Level::kNormal;
  long seed = -1;
  std::string host = "127.0.0.1";
  long port = protocol::kLobbyPort;
  std::string name;  // UTF-8
  long count = 1;
  bool challenge = false;
  long pauseMs = ComputerPlayer::kHumanPause.count();
};

void printUsage(std::FILE* out) {
  std::fprintf(
      out,
      "usage: pentaro-bot [--host H] [--port N] [--name NAME] [--level weak|normal|strong]\n"
      "                   [--count K] [--challenge] [--pause-ms MS] [--seed S]\n"
      "       pentaro-bot --selfplay N [--level A] [--against B] [--seed S]\n"
      "\n"
      "Joins the lobby at H (default 127.0.0.1) on port N (default %d) as K computer players\n"
      "(1 to %d) named NAME, or NAME1..NAMEK (default: \"コンピュータ(strength)\"). Each accepts\n"
      "every challenge, one match at a time; with --challenge it also challenges free players\n"
      "with a lower number. Before each move it pauses about MS milliseconds (default %ld; 0\n"
      "plays flat out). One line is logged per match. Ctrl+C (SIGINT) or SIGTERM plays the\n"
      "running matches out and leaves.\n"
      "\n"
      "--selfplay plays N matches between the strengths A and B in this process, the first\n"
      "move alternating, and prints wins, losses and draws of each side.\n"
      "Strengths: weak (よわい), normal (ふつう), strong (つよい).\n",
      protocol::kLobbyPort, kMaxPlayers, static_cast<long>(ComputerPlayer::kHumanPause.count()));
}

bool parseNumber(const char* text, long low, long high, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return *text != '\0' && *end == '\0' && value >= low && value <= high;
}

// Returns 0 to go on, or the exit status.
int parseArguments(int argc, char** argv, Arguments& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      printUsage(stdout);
      return -1;
    }
    if (arg == "--version") {
      std::printf("pentaro-bot %s\n%s", PENTARO_VERSION, kLicenceNotice);
      return -1;
    }
    if (arg == "--challenge") {
      args.challenge = true;
      continue;
    }
    const char* value = i + 1 < argc ? argv[++i] : nullptr;
    auto fail = [&](const char* what) {
      std::fprintf(stderr, "pentaro-bot: %s: %s %s\n", what, arg.c_str(), value ? value : "");
      return 2;
    };
    if (!value) return fail("missing value");
    if (arg == "--selfplay") {
      if (!parseNumber(value, 1, 100000000, args.selfPlay)) return fail("not a match count");
    } else if (arg == "--seed") {
      if (!parseNumber(value, 0, 0xffffffffL, args.seed)) return fail("not a seed");
    } else if (arg == "--level" || arg == "--against") {
      const auto level = parseLevel(value);
      if (!level) return fail("not a strength (weak, normal, strong)");
      (arg == "--level" ? args.level : args.against) = *level;
    } else if (arg == "--host") {
      args.host = value;
    } else if (arg == "--port") {
      if (!parseNumber(value, 1, 65535, args.port)) return fail("not a port number");
    } else if (arg == "--name") {
      args.name = value;
    } else if (arg == "--count") {
      if (!parseNumber(value, 1, kMaxPlayers, args.count)) return fail("not a player count");
    } else if (arg == "--pause-ms") {
      if (!parseNumber(value, 0, 60000, args.pauseMs)) return fail("not a pause");
    } else {
      return fail("unknown argument");
    }
  }
  return 0;
}

void printSide(const char* role, Level level, const SideRecord& record) {
  std::printf("  %s %-6s wins %6d  losses %6d  draws %6d\n", role,
              std::string(levelKey(level)).c_str(), record.wins, record.losses, record.draws);
}

int runSelfPlay(const Arguments& args, std::uint32_t seed) {
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  const SelfPlayTally tally =
      SelfPlay(args.level, args.against, seed).run(static_cast<int>(args.selfPlay));
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  std::printf("%s vs %s: %ld matches, seed %u, %ld calls, %.2f s (CPU %.2f s)\n",
              std::string(levelKey(args.level)).c_str(),
              std::string(levelKey(args.against)).c_str(), args.selfPlay, seed, tally.calls,
              took.count(), cpu);
  printSide("A", args.level, tally.a);
  printSide("B", args.against, tally.b);
  const bool sound = tally.illegalCalls == 0 && tally.unfinished == 0 && tally.disagreements == 0;
  if (!sound) {
    std::printf("  faults: illegal calls %d, unfinished %d, disagreements %d\n", tally.illegalCalls,
                tally.unfinished, tally.disagreements);
  }
  return sound ? 0 : 1;
}

int runPlayers(const Arguments& args, std::uint32_t seed) {
  // The signals are taken by sigtimedwait below; every thread started from here on blocks them.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGUSR1);  // a player has lost its connection
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  const pthread_t mainThread = pthread_self();

  Mutex outputMutex;  // guards no field: keeps the players' lines on stdout whole
  auto log = [&outputMutex](const std::string& line) {
    MutexLock lock(outputMutex);
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  };
  const std::string baseName =
      !args.name.empty() ? args.name
                         : cp932::toUtf8(texts().computerNamePrefix + levelName(args.level) +
                                         texts().computerNameSuffix);
  std::vector<std::unique_ptr<ComputerPlayer>> players;
  for (long k = 0; k < args.count; ++k) {
    ComputerPlayer::Options options;
    options.host = args.host;
    options.port = static_cast<int>(args.port);
    options.name = cp932::fromUtf8(args.count == 1 ? baseName : baseName + std::to_string(k + 1));
    options.level = args.level;
    options.challenge = args.challenge;
    options.pause = milliseconds(args.pauseMs);
    options.seed = seed + static_cast<std::uint32_t>(k) * kSeedStep;
    options.log = log;
    options.connectionLost = [mainThread] { pthread_kill(mainThread, SIGUSR1); };
    players.push_back(std::make_unique<ComputerPlayer>(options));
  }

  // The players are counted when one has lost its connection and once at the join limit; in
  // between, this thread sleeps.
  const auto joinLimit = std::chrono::steady_clock::now() + kJoinLimit;
  bool joinLimitPassed = false;
  int status = 0;
  for (;;) {
    int received;
    if (!joinLimitPassed) {
      const auto left = std::max(std::chrono::steady_clock::duration::zero(),
                                 joinLimit - std::chrono::steady_clock::now());
      const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
      const timespec limit{static_cast<std::time_t>(seconds.count()),
                           static_cast<long>(std::chrono::nanoseconds(left - seconds).count())};
      received = sigtimedwait(&signals, nullptr, &limit);
      if (received < 0 && errno == EAGAIN) joinLimitPassed = true;
    } else {
      received = sigwaitinfo(&signals, nullptr);
    }
    if (received == SIGINT || received == SIGTERM) break;
    if (received < 0 && errno == EINTR) continue;
    int inLobby = 0, gone = 0;
    for (auto& player : players) {
      const ComputerPlayer::Record record = player->record();
      inLobby += record.everConnected && !record.lostConnection ? 1 : 0;
      gone += record.lostConnection ? 1 : 0;
    }
    const bool joinFailed = inLobby + gone < args.count && joinLimitPassed;
    if (inLobby == 0 && (gone > 0 || joinFailed)) {
      log("no player is in the lobby any more");
      status = 1;
      break;
    }
  }

  for (auto& player : players) player->drain();
  const auto drainEnd = std::chrono::steady_clock::now() + kDrainLimit;
  for (auto& player : players) {
    while (!player->idle() && std::chrono::steady_clock::now() < drainEnd) {
      std::this_thread::sleep_for(milliseconds(10));
    }
  }
  for (auto& player : players) player->leave();
  ComputerPlayer::Record total;
  int lost = 0;
  for (auto& player : players) {
    const ComputerPlayer::Record record = player->record();
    total.wins += record.wins;
    total.losses += record.losses;
    total.draws += record.draws;
    total.aborted += record.aborted;
    lost += record.lostConnection ? 1 : 0;
  }
  players.clear();
  std::printf("stopped: wins %d losses %d draws %d aborted %d, lost connections %d\n", total.wins,
              total.losses, total.draws, total.aborted, lost);
  std::fflush(stdout);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (const int status = parseArguments(argc, argv, args); status != 0) {
    return status < 0 ? 0 : status;
  }
  const std::uint32_t seed = args.seed >= 0
                                 ? static_cast<std::uint32_t>(args.seed)
                                 : static_cast<std::uint32_t>(std::time(nullptr)) ^
                                       static_cast<std::uint32_t>(::getpid()) * kSeedStep;
  return args.selfPlay > 0 ? runSelfPlay(args, seed) : runPlayers(args, seed);
}
