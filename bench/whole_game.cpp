// whole_game.cpp — the CPU of every main-loop pass through a whole game,
// headless on SDL's dummy video driver and software renderer, unpaced:
// logo, title, menu, level 01 of a test map archive (paused, the quit
// question answered no, then won along its corridor), level complete
// taking the next level, level 02 caught and retried, paused and left by
// the quit question, level 20 won, level complete taking the menu entry,
// which starts the finale, the finale left, the quit question on the menu.
// The test map archive is the one the win replay tests write (levels 01
// and 20 as one corridor each, the monsters shut in).
//
//   bench_whole_game [--resolution N] [--samples FILE] [--replay-out FILE]
//                    [--shots DIR]
//   bench_whole_game --make-folder DIR [--resolution N]
//
// --resolution picks the window size from the resolution list (4 is
// 1920 x 1080, 9 is 3840 x 2160). It prints one line of figures for the
// whole game and one per screen; --samples writes "pass screen cpu_ms" a
// line; --replay-out writes the input it played as a replay file (with
// the seed), which the game program replays identically given the same
// folder; --shots presses F1 on every screen (mid-way through the title's
// fade in and out, the menu, each dialog over a level, the victory, the
// caught banner, the finale) and moves each screenshot to
// DIR/NN-SCREEN.bmp, so that two builds can be compared picture by
// picture at any size. --make-folder only writes the game folder the run
// plays in (the game program beside it replays --replay-out's file).
#include "game_folder.h"
#include "platform/core.h"
#include "platform/display.h"
#include "platform/test_hooks.h"
#include "shell/game.h"
#include "shell/loop.h"
#include "shell/replay.h"
#include "shell/startup.h"
#include "support/win_course.h"
#include "timing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace {

using bench::Percentile;
using bench::ThreadCpuMs;

namespace fs = std::filesystem;

// What a pass shows, for the figures per screen and the plot's bands.
const char *ScreenOf(const Game &game) {
  const Play &play = game.play;
  switch (game.loop.state) {
  case ScreenState::StudioLogo:
    return "logo";
  case ScreenState::TitleFadeIn:
    return game.loop.fade < 256 ? "title-fade" : "title";
  case ScreenState::MainMenu:
    return game.loop.fade > 0 ? "title-fade" : "menu";
  case ScreenState::Countdown:
    return "countdown";
  case ScreenState::Playing:
    if (play.caughtFreeze)
      return "caught-banner";
    if (!play.playActive && play.current >= 0 &&
        play.collected == play.levels[play.current].pickupTotal)
      return "victory";
    return "play";
  case ScreenState::GameFinished:
    return "finale";
  case ScreenState::Paused:
  case ScreenState::QuitQuestionInGame:
  case ScreenState::LevelComplete:
  case ScreenState::Caught:
    return "dialog-over-level";
  default:
    return "menu-dialog";
  }
}

struct Sample {
  uint64_t pass;
  const char *screen;
  double cpu;
};

void Figures(const char *what, const std::vector<double> &v) {
  if (v.empty())
    return;
  double sum = 0;
  int over16 = 0, over33 = 0;
  for (double x : v) {
    sum += x;
    over16 += x > 1000.0 / 60;
    over33 += x > 2000.0 / 60;
  }
  std::printf("screen=%s width=%d height=%d passes=%zu cpu_mean_ms=%.3f "
              "cpu_p50_ms=%.3f cpu_p99_ms=%.3f cpu_max_ms=%.3f "
              "over_16_7=%d over_33=%d\n",
              what, plat::ScreenWidth(), plat::ScreenHeight(), v.size(),
              sum / double(v.size()), Percentile(v, 50), Percentile(v, 99),
              *std::max_element(v.begin(), v.end()), over16, over33);
}

// The input: steps that wait for a screen state (and some passes more),
// then add their key presses to the replay at the current pass.
struct Script {
  Game &game;
  std::string text;     // the whole replay, for --replay-out
  bool shots = false;   // F1 on every screen
  uint64_t after = 0;   // the earliest pass of the next step
  std::string expected; // what the script waits for, for the error

  // Adds replay lines (passes relative to now, in any order) to the
  // game's replay.
  void Add(const std::string &lines) {
    std::vector<std::pair<uint64_t, std::string>> events;
    for (size_t at = 0, end; at < lines.size(); at = end + 1) {
      end = lines.find('\n', at);
      const std::string line = lines.substr(at, end - at);
      if (!line.empty())
        events.emplace_back(game.loop.pass + std::stoull(line),
                            line.substr(line.find(' ')));
    }
    std::stable_sort(
        events.begin(), events.end(),
        [](const auto &a, const auto &b) { return a.first < b.first; });
    std::string absolute;
    for (const auto &[pass, rest] : events)
      absolute += std::to_string(pass) + rest + "\n";
    Replay parsed;
    std::string error;
    if (!ParseReplay(absolute, "script", parsed, error)) {
      std::fprintf(stderr, "bench_whole_game: %s\n", error.c_str());
      std::exit(1);
    }
    for (const ReplayEvent &e : parsed.events) {
      game.replay.events.push_back(e);
      after = std::max(after, e.pass + 1);
    }
    text += absolute;
  }
  void Press(int in, const char *key) {
    Add(std::to_string(in) + " down " + key + "\n" + std::to_string(in + 1) +
        " up " + key + "\n");
  }
  void Shot(int in) {
    if (shots)
      Press(in, "F1");
  }
};

struct Step {
  std::function<bool(const Game &)> ready; // waited for
  int wait;                                // passes once ready before acting
  std::function<void(Script &)> act;
};

std::function<bool(const Game &)> In(ScreenState state) {
  return [state](const Game &g) { return g.loop.state == state; };
}

bool Showing(const Game &g, const char *screen) {
  return std::strcmp(ScreenOf(g), screen) == 0;
}

// Every step of the whole game, in order.
std::vector<Step> WholeGame() {
  using S = ScreenState;
  auto key = [](const char *k) { return [k](Script &s) { s.Press(0, k); }; };
  auto nothing = [](Script &) {};
  auto shot = [](Script &s) { s.Shot(0); };
  // The course walked; the victory's screenshot 30 passes after the last
  // pickup.
  auto walk = [](const char *level) {
    return [level](Script &s) {
      std::string lines;
      int lastPickup = 0;
      // WalkCourse starts 300 passes after the pass it is given.
      win_course::WalkCourse(lines, level, &lastPickup, -300);
      s.Add(lines);
      s.Shot(lastPickup + 30);
    };
  };
  return {
      // The title half faded in, half faded out over the menu, the menu.
      {In(S::TitleFadeIn), 16, shot},
      {In(S::MainMenu), 16, shot},
      {In(S::MainMenu), 60,
       [](Script &s) {
         s.Shot(0);
         s.Press(10, "Return");
       }},
      {In(S::LevelSelect), 30, key("Return")}, // slot 1: level 01
      // Paused as soon as it plays, the quit question answered no.
      {In(S::Playing), 20, key("Esc")},
      {In(S::Paused), 60,
       [](Script &s) {
         s.Shot(0);
         s.Press(60, "Down");
         s.Press(70, "Return");
       }},
      {In(S::QuitQuestionInGame), 60,
       [](Script &s) {
         s.Shot(0);
         s.Press(60, "Down");
         s.Press(70, "Return");
       }},
      {In(S::Paused), 60, key("Esc")},
      {In(S::Playing), 0, walk("01")},
      // The last pickup: the victory, then the level-complete dialog.
      {In(S::LevelComplete), 120,
       [](Script &s) {
         s.Shot(0);
         s.Press(10, "Return"); // the next level
       }},
      // Level 02 of the shipped maps: standing still until caught.
      {In(S::Countdown), 60, shot},
      {In(S::Playing), 0, nothing},
      {[](const Game &g) { return Showing(g, "caught-banner"); }, 30, shot},
      {In(S::Caught), 120,
       [](Script &s) {
         s.Shot(0);
         s.Press(10, "Return"); // again
       }},
      {In(S::Countdown), 0, nothing},
      {In(S::Playing), 20, key("Esc")},
      {In(S::Paused), 60,
       [](Script &s) {
         s.Press(0, "Down");
         s.Press(10, "Return");
       }},
      {In(S::QuitQuestionInGame), 120, key("Return")}, // yes: the menu
      {In(S::MainMenu), 60, key("Return")},
      {In(S::LevelSelect), 30,
       [](Script &s) {
         s.Press(0, "Down");
         s.Press(10, "Return"); // slot 2: level 20
       }},
      {In(S::Playing), 0, walk("20")},
      {In(S::LevelComplete), 120,
       [](Script &s) {
         s.Press(0, "Down");
         s.Press(10, "Return"); // the menu entry: the finale
       }},
      {In(S::GameFinished), 240,
       [](Script &s) {
         s.Shot(0);
         s.Press(10, "Space");
       }},
      {In(S::MainMenu), 60,
       [](Script &s) {
         for (int i = 0; i < 4; ++i)
           s.Press(4 * i, "Down");
         s.Press(20, "Return");
       }},
      {In(S::QuitQuestion), 60, key("Return")}, // yes: the game ends
  };
}

// Screenshots made this pass, moved to DIR/NN-SCREEN.bmp.
void CollectShots(const std::string &from, const std::string &to,
                  const char *screen, int &count) {
  for (const auto &e : fs::directory_iterator(from)) {
    const std::string name = e.path().filename().string();
    if (name.rfind("Warrenfold ", 0) != 0 || e.path().extension() != ".bmp")
      continue;
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02d-", ++count);
    fs::rename(e.path(), to + "/" + prefix + screen + ".bmp");
  }
}

// A game folder: the built content linked, the test maps, the screen
// chosen, slot 1 at level 01 and slot 2 at level 20.
bool MakeFolder(const std::string &dir, int resolution) {
  const std::string from = WARRENFOLD_GAME_DIR;
  std::error_code ec;
  fs::create_directories(dir, ec);
  for (const char *name : {"Warrenfold.data", "Warrenfold.languages"}) {
    fs::remove(dir + name, ec);
    fs::create_symlink(from + name, dir + name, ec);
  }
  const std::string why = win_course::WriteTestMaps(from + "Warrenfold.maps",
                                                    dir + "Warrenfold.maps");
  if (!why.empty()) {
    std::fprintf(stderr, "bench_whole_game: %s\n", why.c_str());
    return false;
  }
  std::ofstream(dir + "Warrenfold.prefs")
      << "[Settings]\nGameScreen = 1\nResolution = " << resolution
      << "\nLanguage = en_GB\nMusic = 1\nSoundFX = 1\n";
  std::ofstream(dir + "Warrenfold.scores") << "01\r\n20\r\n01\r\n01\r\n01\r\n";
  return true;
}

struct Options {
  int resolution = 4;
  std::string folder; // --make-folder
  std::string samples, replayOut, shots;
};

bool ParseOptions(int argc, char **argv, Options &o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool more = i + 1 < argc;
    if (a == "--resolution" && more)
      o.resolution = std::atoi(argv[++i]);
    else if (a == "--samples" && more)
      o.samples = argv[++i];
    else if (a == "--replay-out" && more)
      o.replayOut = argv[++i];
    else if (a == "--shots" && more)
      o.shots = argv[++i];
    else if (a == "--make-folder" && more)
      o.folder = argv[++i];
    else
      return false;
  }
  return true;
}

} // namespace

int main(int argc, char **argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fprintf(stderr,
                 "usage: bench_whole_game [--resolution N] [--samples FILE] "
                 "[--replay-out FILE] [--shots DIR] [--make-folder DIR]\n");
    return 2;
  }
  bench::HeadlessUnpaced();

  char pattern[] = "/tmp/wf-whole-game-XXXXXX";
  if (o.folder.empty() && mkdtemp(pattern) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string dir =
      (o.folder.empty() ? std::string(pattern) : o.folder) + "/";
  if (!MakeFolder(dir, o.resolution)) {
    if (o.folder.empty())
      fs::remove_all(dir);
    return 1;
  }
  if (!o.folder.empty())
    return 0; // the folder is all that was asked for
  const std::string seed = "seed 7\n";
  std::ofstream(dir + "seed.replay") << seed;
  setenv("WARRENFOLD_REPLAY", (dir + "seed.replay").c_str(), 1);
  if (!o.shots.empty())
    fs::create_directories(o.shots);

  auto game = bench::GameInFolder(dir);
  if (!game)
    return 1;
  int status = 0;
  std::vector<Sample> samples;
  Script script{*game, seed};
  script.shots = !o.shots.empty();
  try {
    if (!SetUpReplay(*game))
      throw FatalExit{"the replay"};
    StartUp(*game, {});
    PrepareFirstFrame(*game);
    const std::vector<Step> steps = WholeGame();
    size_t next = 0;
    uint64_t since = 0; // the pass the awaited state was first seen
    bool seen = false;
    int shots = 0;
    for (bool on = true; on;) {
      Game &g = *game;
      if (next < steps.size() && g.loop.pass >= script.after) {
        const Step &s = steps[next];
        if (s.ready(g)) {
          if (!seen)
            since = g.loop.pass, seen = true;
          if (g.loop.pass >= since + uint64_t(s.wait)) {
            s.act(script);
            ++next;
            seen = false;
          }
        }
      }
      // A step not reached within two minutes of game time: the script
      // and the game went apart.
      if (next < steps.size() && g.loop.pass > script.after + 7200) {
        std::fprintf(stderr,
                     "bench_whole_game: step %zu not reached by pass %llu\n",
                     next, static_cast<unsigned long long>(g.loop.pass));
        throw FatalExit{"the script"};
      }
      const char *screen = ScreenOf(g);
      const uint64_t pass = g.loop.pass;
      const double c0 = ThreadCpuMs();
      on = RunFrame(g);
      samples.push_back({pass, screen, ThreadCpuMs() - c0});
      if (script.shots)
        CollectShots(g.paths.saveTo, o.shots, screen, shots);
    }
    if (next < steps.size()) {
      std::fprintf(stderr, "bench_whole_game: the game ended at step %zu\n",
                   next);
      status = 1;
    }
  } catch (const AssetFailure &) {
    std::fprintf(stderr, "an asset did not load\n");
    status = 1;
  } catch (const FatalExit &e) {
    std::fprintf(stderr, "fatal: %s\n", e.message.c_str());
    status = 1;
  }

  // The first pass draws the first frame after start-up: not counted.
  std::vector<double> all;
  std::map<std::string, std::vector<double>> byScreen;
  std::vector<std::string> order;
  for (size_t i = 1; i < samples.size(); ++i) {
    all.push_back(samples[i].cpu);
    auto &v = byScreen[samples[i].screen];
    if (v.empty())
      order.push_back(samples[i].screen);
    v.push_back(samples[i].cpu);
  }
  if (status == 0) {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    std::printf("peak_rss_mib=%.0f prefetch_wait_ms=%.1f\n",
                double(u.ru_maxrss) / 1024,
                double(plat::PrefetchWaitedMicroseconds()) / 1000);
    Figures("whole-game", all);
    for (const std::string &s : order)
      Figures(s.c_str(), byScreen[s]);
  }
  if (!o.samples.empty()) {
    std::ofstream out(o.samples);
    for (const Sample &s : samples)
      out << s.pass << ' ' << s.screen << ' ' << s.cpu << '\n';
  }
  if (!o.replayOut.empty())
    std::ofstream(o.replayOut) << script.text << game->loop.pass << " quit\n";
  CloseLog(game->log);
  game.reset();
  plat::Shutdown();
  fs::remove_all(dir);
  return status;
}
