// frame_cpu.cpp — the CPU one main-loop pass costs, headless on SDL's dummy
// video driver and software renderer, unpaced: the main menu with all 50
// title monsters out, and level 20 in play with all 13 of its monsters
// out. The game starts up as the program does, from a preferences file in
// a folder of its own that links the built content.
//
//   bench_frame_cpu [--resolution N] [--frames N] [--scene menu|play|both]
//                   [--samples PREFIX]
//
// --resolution picks the window size from the resolution list (4 is
// 1920 x 1080, 9 is 3840 x 2160). Each scene prints one line of figures;
// --samples writes each frame's CPU milliseconds to PREFIX-SCENE.txt, one a
// line, for the plot.
#include "game/stage.h"
#include "game_folder.h"
#include "platform/core.h"
#include "platform/display.h"
#include "shell/actions.h"
#include "shell/game.h"
#include "shell/loop.h"
#include "shell/startup.h"
#include "timing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace {

using bench::Percentile;
using bench::ThreadCpuMs;
using bench::WallMs;

namespace fs = std::filesystem;

// User plus system time of the whole process: the sound thread included.
double ProcessCpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
         double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

struct Samples {
  std::vector<double> cpu, wall;
  double processCpu = 0;
  int restarts = 0;
};

// One pass, its thread CPU and wall time kept.
bool TimedPass(Game &game, Samples &s) {
  const double c0 = ThreadCpuMs(), w0 = WallMs();
  const bool on = RunFrame(game);
  s.cpu.push_back(ThreadCpuMs() - c0);
  s.wall.push_back(WallMs() - w0);
  return on;
}

void Report(const char *scene, const Samples &s) {
  double sum = 0;
  for (double v : s.cpu)
    sum += v;
  std::printf("scene=%s width=%d height=%d frames=%zu cpu_p50_ms=%.3f "
              "cpu_p99_ms=%.3f cpu_max_ms=%.3f cpu_mean_ms=%.3f "
              "wall_p50_ms=%.3f wall_p99_ms=%.3f process_cpu_mean_ms=%.3f "
              "restarts=%d\n",
              scene, plat::ScreenWidth(), plat::ScreenHeight(), s.cpu.size(),
              Percentile(s.cpu, 50), Percentile(s.cpu, 99),
              *std::max_element(s.cpu.begin(), s.cpu.end()),
              sum / double(s.cpu.size()), Percentile(s.wall, 50),
              Percentile(s.wall, 99), s.processCpu / double(s.cpu.size()),
              s.restarts);
  std::fflush(stdout);
}

void WriteSamples(const std::string &prefix, const char *scene,
                  const Samples &s) {
  if (prefix.empty())
    return;
  std::ofstream out(prefix + "-" + scene + ".txt");
  for (double v : s.cpu)
    out << v << '\n';
}

// Passes until the game shows the main menu, then all title monsters let
// out one a pass (instead of one every 50) and a second to spread them.
void MenuWithAllMonsters(Game &game) {
  while (game.loop.state != ScreenState::MainMenu)
    RunFrame(game);
  while (game.play.titleReleased < kTitleMonsterCount) {
    game.play.releaseCounter = 49;
    RunFrame(game);
  }
  for (int i = 0; i < 60; ++i)
    RunFrame(game);
}

int LevelIndex(const Game &game, const std::string &id) {
  for (size_t i = 0; i < game.play.levels.size(); ++i)
    if (game.play.levels[i].id == id)
      return int(i);
  return -1;
}

// Level 20 entered from the menu, counted down, and its monsters let out
// one a pass.
void PlayingWithAllMonsters(Game &game, int level) {
  StartLevel(game, level, true);
  while (game.loop.state == ScreenState::Countdown)
    RunFrame(game);
  const LevelRecord &rec = game.play.levels[level];
  while (game.loop.state == ScreenState::Playing &&
         rec.releasedCount < rec.monsterCount) {
    game.play.releaseCounter = rec.releaseInterval - 1;
    RunFrame(game);
  }
}

struct Options {
  int resolution = 4;
  int frames = 3000;
  std::string scene = "both";
  std::string samples;
};

bool ParseOptions(int argc, char **argv, Options &o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--resolution")
      o.resolution = std::atoi(argv[i + 1]);
    else if (a == "--frames")
      o.frames = std::max(100, std::atoi(argv[i + 1]));
    else if (a == "--scene")
      o.scene = argv[i + 1];
    else if (a == "--samples")
      o.samples = argv[i + 1];
    else
      return false;
  }
  return argc % 2 == 1 &&
         (o.scene == "menu" || o.scene == "play" || o.scene == "both");
}

} // namespace

int main(int argc, char **argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fprintf(stderr, "usage: bench_frame_cpu [--resolution N] "
                         "[--frames N] [--scene menu|play|both] "
                         "[--samples PREFIX]\n");
    return 2;
  }
  bench::HeadlessUnpaced();
  setenv("WARRENFOLD_SEED", "7", 0);

  // A game folder of our own: the built content linked, the screen chosen.
  char pattern[] = "/tmp/wf-frame-cpu-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string dir = std::string(pattern) + "/";
  const std::string from = WARRENFOLD_GAME_DIR;
  for (const char *name :
       {"Warrenfold.data", "Warrenfold.maps", "Warrenfold.languages"})
    fs::create_symlink(from + name, dir + name);
  std::ofstream(dir + "Warrenfold.prefs")
      << "[Settings]\nGameScreen = 1\nResolution = " << o.resolution
      << "\nLanguage = en_GB\n";

  int status = 0;
  auto game = bench::GameInFolder(dir);
  if (!game)
    return 1;
  try {
    try {
      StartUp(*game, {});
      PrepareFirstFrame(*game);
      MenuWithAllMonsters(*game);
      if (o.scene != "play") {
        Samples s;
        const double p0 = ProcessCpuMs();
        while (int(s.cpu.size()) < o.frames)
          TimedPass(*game, s);
        s.processCpu = ProcessCpuMs() - p0;
        Report("menu", s);
        WriteSamples(o.samples, "menu", s);
      }
      if (o.scene != "menu") {
        const int level = LevelIndex(*game, "20");
        if (level < 0) {
          std::fprintf(stderr, "no level 20\n");
          throw FatalExit{"no level 20"};
        }
        Samples s;
        PlayingWithAllMonsters(*game, level);
        double p0 = ProcessCpuMs();
        while (int(s.cpu.size()) < o.frames) {
          // Standing still, the player is caught now and then: the level
          // starts again and only frames in play with every monster out
          // count.
          if (game->loop.state != ScreenState::Playing) {
            s.processCpu += ProcessCpuMs() - p0;
            ++s.restarts;
            PlayingWithAllMonsters(*game, level);
            p0 = ProcessCpuMs();
            continue;
          }
          TimedPass(*game, s);
        }
        s.processCpu += ProcessCpuMs() - p0;
        Report("play", s);
        WriteSamples(o.samples, "play", s);
      }
    } catch (const AssetFailure &) {
      std::fprintf(stderr, "an asset did not load\n");
      status = 1;
    }
  } catch (const FatalExit &e) {
    std::fprintf(stderr, "fatal: %s\n", e.message.c_str());
    status = 1;
  }
  CloseLog(game->log);
  game.reset();
  plat::Shutdown();
  fs::remove_all(dir);
  return status;
}
