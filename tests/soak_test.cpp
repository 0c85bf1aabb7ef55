// soak_test.cpp — many frames of random keys and gamepad input through the
// whole loop, with drawing, on every screen the input leads to: no crash,
// no sanitizer report, memory flat after warming up. WARRENFOLD_SOAK_FRAMES
// sets the length (the suite runs a short soak; a long one is a command
// away).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <set>

#include "platform/input.h"
#include "platform/random.h"
#include "platform/scripted_input.h"
#include "platform/test_hooks.h"
#include "support/game_fixture.h"
#include "support/sanitizer.h"

namespace {

using plat::Key;

long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * 4;
}

int SoakFrames() {
  if (const char *n = std::getenv("WARRENFOLD_SOAK_FRAMES"))
    return std::max(1, std::atoi(n));
  return 12000;
}

using Soak = UnpacedGame;

// Resident memory less the banner pictures decoded on demand, which come
// and go within their own budget as the screens are first reached.
long HeldKiB() {
  return ResidentKiB() - static_cast<long>(plat::OnDemandResidentBytes() >> 10);
}

TEST_F(Soak, RandomInputAcrossEveryScreen) {
  ASSERT_TRUE(Start(1, 0));
  CloseLog(game->log); // the log would grow with every screenshot
  const Key keys[] = {Key::Up,     Key::Down, Key::Left,       Key::Right,
                      Key::Return, Key::Esc,  Key::Delete,     Key::Space,
                      Key::M,      Key::N,    Key::W,          Key::A,
                      Key::S,      Key::D,    Key::KeypadEnter};
  std::mt19937 rng(20261207);
  std::set<ScreenState> seen;
  const int frames = SoakFrames();
  long warm = 0;
  // First every key held at once for a while, then all let go together.
  for (int frame = 0; frame < 300; ++frame) {
    for (Key k : keys)
      plat::InjectKey(k, frame < 299);
    RunFrame(*game);
  }
  for (int frame = 0; frame < frames; ++frame) {
    // Now and then a key changes; movement keys are held longer.
    if (rng() % 6 == 0) {
      const Key k = keys[rng() % std::size(keys)];
      plat::InjectKey(k, !plat::RawKeyDown(k));
    }
    if (rng() % 97 == 0)
      plat::InjectPadConnected(rng() % 4 != 0);
    if (rng() % 13 == 0)
      plat::InjectPadAxis(static_cast<int>(rng() % 3),
                          static_cast<int>(rng() % 2001) - 1000,
                          static_cast<int>(rng() % 2001) - 1000);
    if (rng() % 29 == 0)
      plat::InjectPadButton(1 + static_cast<int>(rng() % 3), rng() % 2 == 0);
    seen.insert(game->loop.state);
    if (!RunFrame(*game)) {
      // Quitting is one of the outcomes: go on from the main menu.
      game->loop.quit = false;
      game->loop.state = ScreenState::MainMenu;
    }
    if (frame == frames / 4)
      warm = HeldKiB();
  }
  const long end = HeldKiB();
  EXPECT_GE(seen.size(), 8u) << "the input reached few screens";
  // The sanitizer's allocator holds freed memory back and its shadow counts
  // as resident: the figure means nothing there.
  if (!kAddressSanitizer) {
    EXPECT_LT(end - warm, 16 * 1024)
        << "resident memory grew from " << warm << " KiB to " << end << " KiB";
  }
}

// Drawing never moves the game on: from the same state, seed and keys, a
// level played with drawing off ends where it ends with drawing on.
TEST_F(Soak, DrawingOffPlaysTheSameAsDrawingOn) {
  ASSERT_TRUE(Start(1, 1));
  const Play play = game->play;
  const MapCatalogue maps = game->maps;
  const MapView view = game->mapView;
  const Loop loop = game->loop;
  auto run = [&](bool drawing) {
    game->play = play;
    game->maps = maps;
    game->mapView = view;
    game->loop = loop;
    game->loop.drawing = drawing;
    game->loop.state = ScreenState::LevelSelect;
    game->input = InputFrame{};
    for (Key k : {Key::Return, Key::Right, Key::Down})
      plat::InjectKey(k, false);
    plat::SeedRandom(5);
    for (int pass = 0; pass < 900; ++pass) {
      plat::InjectKey(Key::Return, pass == 0);
      plat::InjectKey(pass < 600 ? Key::Right : Key::Down,
                      pass > 150 && pass % 200 < 150);
      RunFrame(*game);
    }
    const Play &p = game->play;
    std::vector<int> state = {static_cast<int>(game->loop.state),
                              p.player.tileX,
                              p.player.tileY,
                              p.player.direction,
                              p.collected,
                              p.caughtFreeze,
                              p.caughtIndex};
    for (const Monster &m : p.monsters)
      state.insert(state.end(), {m.tileX, m.tileY, m.direction, m.kind,
                                 m.active, static_cast<int>(m.offset * 16)});
    return state;
  };
  const std::vector<int> drawn = run(true);
  EXPECT_EQ(run(false), drawn);
  EXPECT_GT(drawn[4], 0) << "the walk took no pickup";
}

} // namespace
