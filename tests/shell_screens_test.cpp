// shell_screens_test.cpp — every menu screen of the real binary, driven by
// a replay and saved with F1, at two screen sizes: each dialog's card lies
// where its layout says, in its colours.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/display.h"
#include "support/game_copy.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "ui/dialogs.h"

namespace {

namespace fs = std::filesystem;

struct Frame {
  int width = 0, height = 0;
  std::string bytes; // the BMP file
  // Red, green, blue of a pixel; rows are stored bottom up, padded to 4.
  std::array<int, 3> At(int x, int y) const {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    const size_t row = static_cast<size_t>(height - 1 - y);
    const size_t i = 54 + row * stride + static_cast<size_t>(x) * 3;
    if (x < 0 || y < 0 || x >= width || y >= height || i + 2 >= bytes.size())
      return {-1, -1, -1};
    auto b = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    return {b(i + 2), b(i + 1), b(i)};
  }
};

int Le32(const std::string &s, size_t at) {
  int v = 0;
  for (int k = 3; k >= 0; --k)
    v = v * 256 + static_cast<unsigned char>(s[at + k]);
  return v;
}

constexpr std::array<int, 3> kBackground{44, 68, 40}, kTitleBar{122, 196, 110};

class Screens : public ::testing::Test {
protected:
  TempDir root;
  GameCopy copy;
  std::string gameDir;

  void SetUp() override {
    copy = MakeGameCopy(root.Folder());
    gameDir = copy.gameDir;
  }

  // Runs the keys (after the opening screens are skipped), takes one
  // screenshot and quits; prefs selects the screen.
  Frame Shot(const std::string &prefs, const std::string &keys) {
    fs::remove_all(copy.xdg);
    // Preferences beside the game: everything is written there.
    WriteText(gameDir + "Warrenfold.prefs", prefs);
    for (const auto &f : FilesLike(gameDir, "Warrenfold ", ".bmp"))
      fs::remove(f);
    const std::string replay = root.File("shot.replay");
    WriteText(replay, "seed 5\n10 down Esc\n11 up Esc\n12 down Esc\n"
                      "13 up Esc\n" +
                          keys + "70 down F1\n71 up F1\n72 quit\n");
    const ProgramResult r =
        RunProgram(gameDir + "warrenfold", {}, HeadlessEnv(copy, replay),
                   root.File("stderr"));
    EXPECT_EQ(r.status, 0) << r.err;
    const auto shots = FilesLike(gameDir, "Warrenfold ", ".bmp");
    Frame f;
    if (shots.size() != 1)
      return f;
    f.bytes = ReadText(shots[0]);
    if (f.bytes.size() > 54) {
      f.width = Le32(f.bytes, 18);
      f.height = Le32(f.bytes, 22);
    }
    return f;
  }

  // The card's corners are its background; a titled card's top edge is its
  // title bar.
  void ExpectCard(const Frame &f, const CardPlace &c, bool titled,
                  const std::string &what) {
    EXPECT_EQ(f.At(c.x + 2, c.y + c.h - 3), kBackground) << what;
    EXPECT_EQ(f.At(c.x + c.w - 3, c.y + c.h - 3), kBackground) << what;
    EXPECT_EQ(f.At(c.x + c.w - 3, c.y + 2), titled ? kTitleBar : kBackground)
        << what;
  }

  void CheckEveryScreen(const std::string &prefs, int w, int h) {
    const DialogLayout l = LayoutDialogs(DisplayForSize(w, h));
    const Frame menu = Shot(prefs, "");
    ASSERT_EQ(menu.width, w);
    ASSERT_EQ(menu.height, h);
    ExpectCard(menu, l.mainMenu, false, "main menu");
    auto open = [&](int downs) {
      std::string keys;
      int pass = 20;
      for (int i = 0; i < downs; ++i, pass += 2)
        keys += std::to_string(pass) + " down Down\n" +
                std::to_string(pass + 1) + " up Down\n";
      keys += "40 down Return\n41 up Return\n";
      return Shot(prefs, keys);
    };
    ExpectCard(open(1), l.settings, true, "settings");
    if (kAddressSanitizer)
      return; // start-ups are slow there: the menu and one dialog
    ExpectCard(open(0), l.levelSelect, true, "level select");
    ExpectCard(open(2), l.credits, true, "credits");
    ExpectCard(open(3), l.help, true, "help");
    ExpectCard(open(4), l.quitSide, true, "quit question");
  }
};

TEST_F(Screens, EveryMenuScreenAt1920x1080) {
  if (kAddressSanitizer)
    GTEST_SKIP() << "twelve start-ups are too slow under the sanitizers; the "
                    "1024 x 768 run covers the same code";
  CheckEveryScreen("[Settings]\r\nGameScreen = 1\r\nResolution = 4\r\n", 1920,
                   1080);
}

TEST_F(Screens, EveryMenuScreenAt1024x768) {
  // The headless desktop is 1024 x 768: a borderless window takes it all.
  CheckEveryScreen("[Settings]\r\nGameScreen = 2\r\n", 1024, 768);
}

} // namespace
