// SPDX-FileCopyrightText: 2026 The Pentaro developers
// SPDX-License-Identifier: GPL-3.0-or-later

// pentaro-bot: computer players. It joins a lobby as one or more computer players, each the same
// program a person's window runs, driven by a strategy; a player whose connection drops joins
// again by itself. Or, with --selfplay, it plays strategies against each other in this process
// without sockets and prints the tally.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/command_line.h"
#include "base/licence_notice.h"
#include "base/mutex.h"
#include "net/protocol.h"
#include "net/reconnect_backoff.h"
#include "player/computer_player.h"
#include "player/self_play.h"
#include "player/strategy.h"
#include "text/cp932.h"
#include "text/language.h"
#include "text/texts.h"

namespace {

using namespace pentaro;
using command_line::kExitFailure;
using command_line::kExitOk;
using command_line::kExitUsage;
using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr int kMaxPlayers = 10;  // a lobby holds ten
// A player that is not in the lobby this long after the start has failed to join.
constexpr auto kJoinLimit = std::chrono::seconds(10);
// On SIGINT/SIGTERM the running matches are played out for at most this long.
constexpr auto kDrainLimit = std::chrono::seconds(5);
// How often the main thread looks after the players (rejoins included).
constexpr timespec kTendInterval{0, 200'000'000};
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
      localizedUtf8(
          "usage: pentaro-bot [--host H] [--port N] [--name NAME] [--level weak|normal|strong]\n"
          "                   [--count K] [--challenge] [--pause-ms MS] [--seed S]\n"
          "       pentaro-bot --selfplay N [--level A] [--against B] [--seed S]\n"
          "\n"
          "Joins the lobby at H (default 127.0.0.1) on port N (default %d) as K computer players\n"
          "(1 to %d) named NAME, or NAME1..NAMEK (default: \"コンピュータ(strength)\"). Each "
          "accepts\n"
          "every challenge, one match at a time; with --challenge it also challenges free players\n"
          "with a lower number. Before each move it pauses about MS milliseconds (default %ld; 0\n"
          "plays flat out). One line is logged per match. A player whose connection drops joins\n"
          "again by itself, after 1, 2, 4 ... (at most 30) seconds, for five minutes. Ctrl+C\n"
          "(SIGINT) or SIGTERM plays the running matches out and leaves.\n"
          "\n"
          "--selfplay plays N matches between the strengths A and B in this process, the first\n"
          "move alternating, and prints wins, losses and draws of each side.\n"
          "Strengths: weak (よわい), normal (ふつう), strong (つよい).\n"),
      protocol::kLobbyPort, kMaxPlayers, static_cast<long>(ComputerPlayer::kHumanPause.count()));
}

bool parseNumber(const char* text, long low, long high, long& value) {
  const std::optional<long> number = command_line::wholeNumber(text, low, high);
  if (number) value = *number;
  return number.has_value();
}

// Nothing to go on, or the exit status when the program is to end now (after --help,
// --version or a wrong argument).
std::optional<int> parseArguments(int argc, char** argv, Arguments& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      printUsage(stdout);
      return kExitOk;
    }
    if (arg == "--version") {
      std::printf("pentaro-bot %s\n%s", PENTARO_VERSION, kLicenceNotice);
      return kExitOk;
    }
    if (arg == "--challenge") {
      args.challenge = true;
      continue;
    }
    const char* value = i + 1 < argc ? argv[++i] : nullptr;
    auto fail = [&](const char* what) {
      std::fprintf(stderr, localizedUtf8("pentaro-bot: %s: %s %s\n"), what, arg.c_str(),
                   value ? value : "");
      return std::optional<int>(kExitUsage);
    };
    if (!value) return fail(localizedUtf8("missing value"));
    if (arg == "--selfplay") {
      if (!parseNumber(value, 1, 100000000, args.selfPlay))
        return fail(localizedUtf8("not a match count"));
    } else if (arg == "--seed") {
      if (!parseNumber(value, 0, 0xffffffffL, args.seed)) return fail(localizedUtf8("not a seed"));
    } else if (arg == "--level" || arg == "--against") {
      const auto level = parseLevel(value);
      if (!level) return fail(localizedUtf8("not a strength (weak, normal, strong)"));
      (arg == "--level" ? args.level : args.against) = *level;
    } else if (arg == "--host") {
      args.host = value;
    } else if (arg == "--port") {
      if (!parseNumber(value, 1, 65535, args.port)) return fail(localizedUtf8("not a port number"));
    } else if (arg == "--name") {
      args.name = value;
    } else if (arg == "--count") {
      if (!parseNumber(value, 1, kMaxPlayers, args.count))
        return fail(localizedUtf8("not a player count"));
    } else if (arg == "--pause-ms") {
      if (!parseNumber(value, 0, 60000, args.pauseMs)) return fail(localizedUtf8("not a pause"));
    } else {
      return fail(localizedUtf8("unknown argument"));
    }
  }
  return std::nullopt;
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
  return sound ? kExitOk : kExitFailure;
}

// One computer player's place in the lobby: the player while it is in (or joining), and its
// rejoining after a drop. A drop ends the player object (its match cannot survive: the host
// keeps none); a new one joins under the same name. An attempt that has not got in when the
// next is due is given up for that one. Main thread only.
class Seat {
 public:
  using Log = std::function<void(const std::string&)>;

  Seat(ComputerPlayer::Options options, Log log)
      : options_(std::move(options)), log_(std::move(log)) {
    player_ = std::make_unique<ComputerPlayer>(options_);
  }

  // Looks at the player: notes a drop, starts or abandons an attempt, notes a rejoin.
  void tend(Clock::time_point now) {
    if (player_) {
      const ComputerPlayer::Record record = player_->record();
      if (record.everConnected && !record.lostConnection) {
        everIn_ = true;
        if (backoff_.trying()) log_("rejoined " + cp932::toUtf8(options_.name));
        backoff_.connected();
        return;
      }
      if (record.lostConnection) {
        backoff_.dropped(now);
        endPlayer();
        scheduleNext(now);
        return;
      }
      if (!backoff_.trying() || now < nextAttempt_) return;
      endPlayer();  // this attempt did not get in in time
    }
    if (!backoff_.trying() || now < nextAttempt_) return;
    // The pause after this attempt is asked for first: once the trying is over, no attempt
    // starts that nothing would follow up.
    if (scheduleNext(now)) player_ = std::make_unique<ComputerPlayer>(options_);
  }

  // In the lobby now.
  bool in() {
    if (!player_) return false;
    const ComputerPlayer::Record record = player_->record();
    return record.everConnected && !record.lostConnection;
  }
  // Still joining, in, or about to try again.
  bool alive() const { return player_ != nullptr || backoff_.trying(); }
  bool everIn() const { return everIn_; }
  int lost() const { return lost_; }
  ComputerPlayer* player() { return player_.get(); }

  // Leaves the lobby; the tally of every player this seat had.
  ComputerPlayer::Record leave() {
    endPlayer();
    return past_;
  }

 private:
  void endPlayer() {
    if (!player_) return;
    player_->leave();  // a match the drop ended is counted before the tally is taken
    const ComputerPlayer::Record record = player_->record();
    lost_ += record.lostConnection ? 1 : 0;
    past_.wins += record.wins;
    past_.losses += record.losses;
    past_.draws += record.draws;
    past_.aborted += record.aborted;
    player_.reset();
  }
  // False when the trying is over.
  bool scheduleNext(Clock::time_point now) {
    const std::optional<Clock::duration> pause = backoff_.nextPause(now);
    if (!pause) {
      log_("gave up rejoining " + cp932::toUtf8(options_.name));
      return false;
    }
    nextAttempt_ = now + *pause;
    return true;
  }

  const ComputerPlayer::Options options_;
  const Log log_;
  std::unique_ptr<ComputerPlayer> player_;
  ReconnectBackoff backoff_;
  Clock::time_point nextAttempt_{};
  ComputerPlayer::Record past_;
  bool everIn_ = false;
  int lost_ = 0;
};

int runPlayers(const Arguments& args, std::uint32_t seed) {
  // The signals are taken by sigtimedwait below; every thread started from here on blocks them.
  const sigset_t signals = command_line::blockStopSignals();

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
  std::vector<std::unique_ptr<Seat>> seats;
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
    seats.push_back(std::make_unique<Seat>(options, log));
  }

  const auto start = Clock::now();
  int status = kExitOk;
  for (;;) {
    if (sigtimedwait(&signals, nullptr, &kTendInterval) > 0) break;
    const auto now = Clock::now();
    int alive = 0, everIn = 0;
    for (auto& seat : seats) {
      seat->tend(now);
      alive += seat->alive() ? 1 : 0;
      everIn += seat->everIn() ? 1 : 0;
    }
    // Joining at the start is not retried: a host that is not there is a wrong command line.
    if (alive == 0 || (everIn == 0 && now - start > kJoinLimit)) {
      log("no player is in the lobby any more");
      status = kExitFailure;
      break;
    }
  }

  for (auto& seat : seats) {
    if (seat->player()) seat->player()->drain();
  }
  const auto drainEnd = Clock::now() + kDrainLimit;
  for (auto& seat : seats) {
    while (seat->player() && !seat->player()->idle() && Clock::now() < drainEnd) {
      std::this_thread::sleep_for(milliseconds(10));
    }
  }
  ComputerPlayer::Record total;
  int lost = 0;
  for (auto& seat : seats) {
    const ComputerPlayer::Record record = seat->leave();
    total.wins += record.wins;
    total.losses += record.losses;
    total.draws += record.draws;
    total.aborted += record.aborted;
    lost += seat->lost();
  }
  seats.clear();
  std::printf("stopped: wins %d losses %d draws %d aborted %d, lost connections %d\n", total.wins,
              total.losses, total.draws, total.aborted, lost);
  std::fflush(stdout);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  pentaro::startLanguage();
  Arguments args;
  if (const std::optional<int> status = parseArguments(argc, argv, args)) return *status;
  const std::uint32_t seed = args.seed >= 0
                                 ? static_cast<std::uint32_t>(args.seed)
                                 : static_cast<std::uint32_t>(std::time(nullptr)) ^
                                       static_cast<std::uint32_t>(::getpid()) * kSeedStep;
  return args.selfPlay > 0 ? runSelfPlay(args, seed) : runPlayers(args, seed);
}
