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
#include "platform/scripted_input.h"
#include "platform/test_hooks.h"
#include "support/game_fixture.h"

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
    // Random input opens the settings and reopens the screen now and then,
    // which reloads every picture: keep the suite's soak short.
#if defined(__SANITIZE_ADDRESS__)
  return 3000;
#else
  return 12000;
#endif
}

class Soak : public GameFixture {
  // Unpaced from the start: the platform reads the switch when it starts.
  void SetUp() override {
    setenv("WARRENFOLD_UNPACED", "1", 1);
    GameFixture::SetUp();
  }
  void TearDown() override {
    unsetenv("WARRENFOLD_UNPACED");
    GameFixture::TearDown();
  }
};

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
#if !defined(__SANITIZE_ADDRESS__)
  EXPECT_LT(end - warm, 16 * 1024)
      << "resident memory grew from " << warm << " KiB to " << end << " KiB";
#endif
}

} // namespace
