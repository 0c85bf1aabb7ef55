// shell_win_replay_test.cpp — levels played through the real binary. A
// test map archive rebuilds levels 01 and 20 as one corridor from the
// start, folded so that every straight walk ends at a wall and dotted with
// exactly the level's pickups; the monsters stay shut in their house.
// Replays walk it and take the level-complete dialog both ways and the
// finale; on the shipped level 01 a monster catches the player, who
// retries and leaves the level. Run log, scores and preferences bytes and
// screenshots are checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "settings/display.h"
#include "support/copied_game.h"
#include "support/run_program.h"
#include "support/win_course.h"
#include "ui/dialogs.h"

namespace {

namespace fs = std::filesystem;
using win_course::Cell;
using win_course::WalkCourse;

// The shipped map archive with levels 01 and 20 rebuilt.
void WriteTestMaps(const std::string &path) {
  ASSERT_EQ(
      win_course::WriteTestMaps(WARRENFOLD_GAME_DIR "Warrenfold.maps", path),
      "");
}

// The logo and title skipped, Start, `slot` chosen (from 1): the level's
// countdown begins at pass 61.
std::string ToSlot(int slot) {
  std::string r =
      "seed 3\n" + Press(10, "Esc") + Press(12, "Esc") + Press(40, "Return");
  for (int i = 1; i < slot; ++i)
    r += Press(44 + 4 * i, "Down");
  return r + Press(60, "Return");
}

const std::string kPrefs =
    "\xEF\xBB\xBF\r\n; Warrenfold Preferences\r\n[Settings]\r\n"
    "Language = en_GB\r\nMusic = 1\r\nGameScreen = 2\r\nResolution = 1\r\n"
    "Gamepad = 0\r\nPad = 0\r\nButton = 1\r\nSoundFX = 1\r\n";

// Pixels of the top `rows` that differ between two shots.
int Differing(const Shot &a, const Shot &b, int rows) {
  int n = 0;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < a.Width(); ++x)
      n += a.At(x, y) != b.At(x, y);
  return n;
}

size_t Colours(const Shot &s) {
  std::set<std::array<int, 3>> seen;
  for (int y = 0; y < s.Height(); y += 7)
    for (int x = 0; x < s.Width(); x += 7)
      seen.insert(s.At(x, y));
  return seen.size();
}

// The replay's events sorted by pass (the seed line first), so that
// presses can be added in any order.
std::string InPassOrder(const std::string &replay) {
  std::istringstream in(replay);
  std::multimap<long, std::string> events; // equal passes keep their order
  std::string seed, line;
  while (std::getline(in, line))
    if (line.rfind("seed", 0) == 0)
      seed = line + "\n";
    else
      events.emplace(std::stol(line), line + "\n");
  for (const auto &e : events)
    seed += e.second;
  return seed;
}

class WinReplay : public CopiedGame {
protected:
  void SetUp() override {
    if (kAddressSanitizer)
      GTEST_SKIP() << "thousands of passes a run are too slow under the "
                      "sanitizers; the loop tests cover this code there";
    CopiedGame::SetUp();
  }

  void UseTestMaps() {
    fs::remove(gameDir + "Warrenfold.maps");
    WriteTestMaps(gameDir + "Warrenfold.maps");
  }

  struct Result {
    std::string scores;
    Shot shot; // the one F1 of the run (names count seconds: one a run)
  };

  // Runs the replay, with a close of the window 400 passes after `end`
  // should the game still run, from these progress slots and the default
  // preferences in the per-user folder. The run is orderly: exit 0, the
  // preferences kept, the screenshot asked for, nothing failed.
  Result Play(const std::string &scores, const std::string &replay, int end,
              bool shot = true) {
    fs::remove_all(xdg);
    fs::create_directories(userDir);
    WriteText(userDir + "Warrenfold.prefs", kPrefs);
    WriteText(userDir + "Warrenfold.scores", scores);
    const ProgramResult p =
        RunReplay(InPassOrder(replay + std::to_string(end + 400) + " quit\n"),
                  300, " /LOG");
    EXPECT_EQ(p.status, 0) << p.err;
    EXPECT_EQ(ReadText(userDir + "Warrenfold.prefs"), kPrefs);
    const auto log = Log(userDir);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Saving screenshot:\t\tOK"),
              shot ? 1 : 0);
    for (const std::string &line : log)
      EXPECT_EQ(line.find("FAILED"), std::string::npos) << line;
    Result r{ReadText(userDir + "Warrenfold.scores"), {}};
    if (shot) {
      r.shot = TakenShot(userDir);
      EXPECT_EQ(r.shot.Width(), 1024);
      EXPECT_EQ(r.shot.Height(), 768);
    }
    return r;
  }
};

// Leaves the test maps and the replay that wins level 01 from slot 1 and
// goes back to the menu, where Esc quits, in WARRENFOLD_WIN_FIXTURE=DIR
// for the X server script.
TEST(WinCourse, WritesTheTestMapsAndTheWonReplay) {
  TempDir scratch;
  const char *keep = std::getenv("WARRENFOLD_WIN_FIXTURE");
  const std::string dir =
      keep != nullptr ? std::string(keep) + "/" : scratch.Folder();
  ASSERT_NO_FATAL_FAILURE(WriteTestMaps(dir + "Warrenfold.maps"));
  std::string replay = ToSlot(1);
  const int done = WalkCourse(replay, "01");
  replay += Press(done, "Down") + Press(done + 10, "Return") +
            Press(done + 30, "Esc") + std::to_string(done + 400) + " quit\n";
  WriteText(dir + "won.replay", replay);
}

// The level counts from its last pickup: Esc, the pause's Quit and Yes
// pressed during the fanfare do not pause it, and a window closed during
// it still keeps the win. Then the level-complete dialog, its Menu entry,
// and a slot deleted.
TEST_F(WinReplay, NothingDuringTheFanfareLosesTheWin) {
  ASSERT_NO_FATAL_FAILURE(UseTestMaps());
  std::string replay = ToSlot(1);
  int fanfare = 0;
  const int done = WalkCourse(replay, "01", &fanfare);
  fanfare += 20;
  replay += Press(fanfare, "Esc") + Press(fanfare + 4, "Down") +
            Press(fanfare + 8, "Return") + Press(fanfare + 12, "Return");
  // The dialog's frame; the menu; Start, slot 2, Delete, back, Esc quits.
  replay += Press(done, "F1") + Press(done + 10, "Down") +
            Press(done + 20, "Return") + Press(done + 40, "Return") +
            Press(done + 50, "Down") + Press(done + 60, "Delete") +
            Press(done + 70, "Esc") + Press(done + 80, "Esc");
  const Result r = Play("01\r\n05\r\n01\r\n01\r\n01\r\n", replay, done + 80);
  // Slot 1 advanced when the level was won, slot 2 started afresh.
  EXPECT_EQ(r.scores, "02\r\n01\r\n01\r\n01\r\n01\r\n");
  // The level-complete card in level 01's colours over the veiled level.
  const CardPlace c = LayoutDialogs(DisplayForSize(1024, 768)).complete;
  const std::array<int, 3> background{0, 104, 56}, titleBar{145, 188, 36};
  EXPECT_EQ(r.shot.At(c.x + 2, c.y + c.h - 3), background);
  EXPECT_EQ(r.shot.At(c.x + c.w - 3, c.y + c.h - 3), background);
  EXPECT_EQ(r.shot.At(c.x + c.w - 3, c.y + 2), titleBar);
  EXPECT_GE(Colours(r.shot), 10u);

  replay = ToSlot(2);
  WalkCourse(replay, "01");
  const Result closed =
      Play("01\r\n01\r\n01\r\n01\r\n01\r\n", replay, fanfare - 400, false);
  EXPECT_EQ(closed.scores, "01\r\n02\r\n01\r\n01\r\n01\r\n");
}

TEST_F(WinReplay, WonThenTheNextLevelsCountdown) {
  ASSERT_NO_FATAL_FAILURE(UseTestMaps());
  // Slot 3 plays level 01; Return takes the next level, whose countdown
  // frame 100 passes in is that of level 02 started from the level select.
  std::string replay = ToSlot(3);
  const int next = WalkCourse(replay, "01") + 10;
  replay += Press(next, "Return") + Press(next + 101, "F1");
  const Result won = Play("04\r\n09\r\n01\r\n01\r\n01\r\n", replay, next + 101);
  EXPECT_EQ(won.scores, "04\r\n09\r\n02\r\n01\r\n01\r\n");
  const Result direct =
      Play("02\r\n01\r\n01\r\n01\r\n01\r\n", ToSlot(1) + Press(161, "F1"), 161);
  EXPECT_GE(Colours(direct.shot), 10u);
  // The same panel; only the maze's animated tiles may stand at another
  // frame after the passes of level 01.
  EXPECT_EQ(Differing(won.shot, direct.shot, 90), 0) << "the panel";
  EXPECT_LT(Differing(won.shot, direct.shot, 768), 1024 * 768 / 50);
}

TEST_F(WinReplay, LevelTwentyWonThenTheFinaleLeftWithSpace) {
  ASSERT_NO_FATAL_FAILURE(UseTestMaps());
  // Slot 2 at level 20. The dialog's first entry starts the finale; its
  // banners are all out after some 140 passes; Space leaves it for the
  // menu, which starts the slot afresh (a window close while the finale
  // still showed would keep "20").
  std::string replay = ToSlot(2);
  const int done = WalkCourse(replay, "20");
  replay += Press(done, "Return") + Press(done + 200, "F1") +
            Press(done + 220, "Space");
  const Result r = Play("07\r\n20\r\n01\r\n01\r\n13\r\n", replay, done + 220);
  EXPECT_EQ(r.scores, "07\r\n01\r\n01\r\n01\r\n13\r\n");
  // The finale dims the maze to black around its banners.
  for (const auto &[x, y] : {Cell{12, 400}, Cell{512, 150}, Cell{1000, 650}})
    EXPECT_EQ(r.shot.At(x, y), (std::array<int, 3>{0, 0, 0})) << x << ", " << y;
  EXPECT_GE(Colours(r.shot), 10u);
}

// The shipped level 01: with seed 11 and this walk a monster catches the
// player, and the caught dialog is open (on its second entry: Down was
// let go in it) by pass 2900; it veils the level. Up and Return retry;
// the pause's Quit and Yes leave the level at once; Start, slot 3,
// Delete, back, and Esc quits.
TEST_F(WinReplay, CaughtRetriedAndLeftThroughTheQuitQuestion) {
  const std::string walk = "seed 11\n" + Press(10, "Esc") + Press(12, "Esc") +
                           Press(40, "Return") + Press(60, "Return") +
                           "250 down Right\n";
  const std::string scores = "01\r\n05\r\n09\r\n01\r\n01\r\n";
  const Result walking = Play(scores, walk + Press(380, "F1"), 0);
  const std::string replay =
      walk + "1300 up Right\n1301 down Down\n1400 up Down\n" +
      Press(2900, "F1") + Press(2950, "Up") + Press(2954, "Return") +
      Press(3100, "Esc") + Press(3110, "Down") + Press(3120, "Return") +
      Press(3130, "Return") + Press(3140, "Return") + Press(3150, "Down") +
      Press(3154, "Down") + Press(3160, "Delete") + Press(3170, "Esc") +
      Press(3180, "Esc");
  const Result caught = Play(scores, replay, 3180);
  EXPECT_EQ(caught.scores, "01\r\n05\r\n01\r\n01\r\n01\r\n");
  const auto brightness = [](const Shot &s) {
    double sum = 0;
    for (size_t i = 54; i < s.bmp.size(); ++i)
      sum += static_cast<unsigned char>(s.bmp[i]);
    return sum / static_cast<double>(std::max<size_t>(s.bmp.size(), 55) - 54);
  };
  EXPECT_GT(brightness(walking.shot), 0);
  EXPECT_LT(brightness(caught.shot), brightness(walking.shot) * 0.75)
      << "the caught dialog's veil";
}

} // namespace
