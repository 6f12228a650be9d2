// pentaro-bot: computer players. With --selfplay it plays strategies against each other in one
// process and prints the tally; otherwise it joins a lobby as one or more computer players.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "player/self_play.h"
#include "player/strategy.h"

namespace {

using namespace pentaro;

void printUsage(std::FILE* out) {
  std::fprintf(out,
               "usage: pentaro-bot --selfplay N [--level A] [--against B] [--seed S]\n"
               "Plays N matches between the strengths A and B (weak, normal, strong) in this\n"
               "process and prints wins, losses and draws of each side.\n");
}

bool parseCount(const char* text, long low, long high, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return *text != '\0' && *end == '\0' && value >= low && value <= high;
}

void printSide(const char* role, Level level, const SideRecord& record) {
  std::printf("  %s %-6s wins %6d  losses %6d  draws %6d\n", role,
              std::string(levelKey(level)).c_str(), record.wins, record.losses, record.draws);
}

int runSelfPlay(long matches, Level a, Level b, std::uint32_t seed) {
  const auto start = std::chrono::steady_clock::now();
  const SelfPlayTally tally = SelfPlay(a, b, seed).run(static_cast<int>(matches));
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("%s vs %s: %ld matches, seed %u, %ld calls, %.2f s\n",
              std::string(levelKey(a)).c_str(), std::string(levelKey(b)).c_str(), matches, seed,
              tally.calls, took.count());
  printSide("A", a, tally.a);
  printSide("B", b, tally.b);
  const bool sound = tally.illegalCalls == 0 && tally.unfinished == 0 && tally.disagreements == 0;
  if (!sound) {
    std::printf("  faults: illegal calls %d, unfinished %d, disagreements %d\n", tally.illegalCalls,
                tally.unfinished, tally.disagreements);
  }
  return sound ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  long selfPlay = -1, seed = 1;
  Level a = Level::kStrong, b = Level::kNormal;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    auto fail = [&](const char* what) {
      std::fprintf(stderr, "pentaro-bot: %s: %s\n", what, value ? value : arg.c_str());
      return 2;
    };
    if (arg == "--help" || arg == "-h") {
      printUsage(stdout);
      return 0;
    }
    if (!value) return fail("missing value");
    ++i;
    if (arg == "--selfplay") {
      if (!parseCount(value, 1, 100000000, selfPlay)) return fail("not a match count");
    } else if (arg == "--seed") {
      if (!parseCount(value, 0, 0xffffffffL, seed)) return fail("not a seed");
    } else if (arg == "--level" || arg == "--against") {
      const auto level = parseLevel(value);
      if (!level) return fail("not a strength (weak, normal, strong)");
      (arg == "--level" ? a : b) = *level;
    } else {
      return fail("unknown argument");
    }
  }
  if (selfPlay < 0) {
    printUsage(stderr);
    return 2;
  }
  return runSelfPlay(selfPlay, a, b, static_cast<std::uint32_t>(seed));
}
