// shell_play_test.cpp — the game binary played by a replay with a fixed
// seed: into level 01, walking, caught, retried, abandoned and quit.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_copy.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Into level 01 from slot 1 and walking; with seed 11 a monster catches
// the player before pass 2900.
const std::string kMenuToLevel =
    "seed 11\n"
    "10 down Esc\n11 up Esc\n12 down Esc\n13 up Esc\n"
    "40 down Return\n41 up Return\n"
    "60 down Return\n61 up Return\n"
    "250 down Right\n";
const std::string kIntoLevel =
    kMenuToLevel + "1300 up Right\n1301 down Down\n1400 up Down\n";

class Play : public ::testing::Test {
protected:
  TempDir root;
  std::string gameDir, xdg, userDir;

  void SetUp() override {
    const GameCopy copy = MakeGameCopy(root.Folder());
    gameDir = copy.gameDir;
    xdg = copy.xdg;
    userDir = copy.userDir;
  }

  ProgramResult Run(const std::string &replay) {
    fs::remove_all(xdg);
    const std::string file = root.File("play.replay");
    WriteText(file, replay);
    return RunProgram(gameDir + "warrenfold", {},
                      {{"SDL_VIDEODRIVER", "dummy"},
                       {"SDL_RENDER_DRIVER", "software"},
                       {"SDL_AUDIODRIVER", "dummy"},
                       {"WARRENFOLD_UNPACED", "1"},
                       {"WARRENFOLD_REPLAY", file},
                       {"XDG_DATA_HOME", xdg}},
                      root.File("stderr"));
  }

  // Mean brightness of the one screenshot the run took.
  double ShotBrightness() {
    const auto shots = FilesLike(userDir, "Warrenfold ", ".bmp");
    EXPECT_EQ(shots.size(), 1u);
    if (shots.size() != 1)
      return 0;
    const std::string bmp = ReadText(shots[0]);
    if (bmp.size() < 54)
      return 0;
    double sum = 0;
    for (size_t i = 54; i < bmp.size(); ++i)
      sum += static_cast<unsigned char>(bmp[i]);
    return sum / static_cast<double>(bmp.size() - 54);
  }
};

TEST_F(Play, CaughtRetriedAndLeftThroughTheQuitQuestion) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "three runs of thousands of frames are too slow under the "
                  "sanitizers; the loop and soak tests cover this code there";
#endif
  // While walking, and once caught: the caught dialog dims the level.
  ASSERT_EQ(Run(kMenuToLevel + "400 down F1\n401 up F1\n402 quit\n").status, 0);
  const double walking = ShotBrightness();
  ASSERT_EQ(Run(kIntoLevel + "2900 down F1\n2901 up F1\n2902 quit\n").status,
            0);
  const double caught = ShotBrightness();
  EXPECT_GT(walking, 0);
  EXPECT_LT(caught, walking * 0.75) << "the caught dialog's veil";

  // Retry, then pause, quit the level, and Esc on the main menu.
  const ProgramResult r = Run(kIntoLevel + "2950 down Return\n2951 up Return\n"
                                           "3200 down Esc\n3201 up Esc\n"
                                           "3210 down Down\n3211 up Down\n"
                                           "3220 down Return\n3221 up Return\n"
                                           "3230 down Return\n3231 up Return\n"
                                           "3240 down Esc\n3241 up Esc\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadText(userDir + "Warrenfold.scores"),
            "01\r\n01\r\n01\r\n01\r\n01\r\n");
  EXPECT_TRUE(fs::exists(userDir + "Warrenfold.prefs"));
}

TEST_F(Play, EveryKeyHeldAtOnceRunsOn) {
  std::string replay = "seed 3\n";
  for (const char *key :
       {"Esc", "F1", "W", "A", "S", "D", "N", "M", "Return", "KeypadEnter",
        "Space", "Delete", "Up", "Down", "Left", "Right"})
    replay += std::string("300 down ") + key + "\n";
  replay += "2000 quit\n";
  const ProgramResult r = Run(replay);
  EXPECT_EQ(r.status, 0) << r.err;
}

} // namespace
