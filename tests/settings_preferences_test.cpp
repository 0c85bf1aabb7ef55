// settings_preferences_test.cpp — reading and writing "Warrenfold.prefs",
// and a hand-edited window size on the settings screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "settings/display.h"
#include "settings/preferences.h"
#include "shell/actions.h"
#include "shell/game.h"
#include "support/temp_dir.h"
#include "ui/dialogs.h"

namespace {

const char kDefaultFile[] = "\xEF\xBB\xBF\r\n"
                            "; Warrenfold Preferences\r\n"
                            "[Settings]\r\n"
                            "Language = en_GB\r\n"
                            "Music = 1\r\n"
                            "GameScreen = 2\r\n"
                            "Resolution = 1\r\n"
                            "Gamepad = 0\r\n"
                            "Pad = 0\r\n"
                            "Button = 1\r\n"
                            "SoundFX = 1\r\n";

TEST(Preferences, WritesTheElevenLineFileAndReadsItBack) {
  TempDir dir;
  Settings synced; // nothing read yet: every setting counts
  Settings s;
  s.language = "en_GB";
  ASSERT_TRUE(SavePreferences(s, synced, dir.Folder()));
  EXPECT_EQ(ReadText(dir.File("Warrenfold.prefs")), kDefaultFile);
  // Every value other than its default: a key the reader misses shows.
  const Settings other{"de_DE", 0, ScreenMode::Window, 7, -3, 1, 5, 0};
  ASSERT_TRUE(SavePreferences(other, synced, dir.Folder()));
  EXPECT_NE(ReadText(dir.File("Warrenfold.prefs")).find("Gamepad = -3\r\n"),
            std::string::npos);
  Settings r;
  ASSERT_TRUE(LoadPreferences(r, dir.Folder()));
  EXPECT_EQ(PreferencesBytes(r), PreferencesBytes(other));
}

// Lower-case soundfx, a word for a number, a padded language; a key that
// is missing takes its default, but the screen mode in force stays; a
// foreign group is all defaults, and no file changes nothing.
TEST(Preferences, HandEditedValuesAndMissingOnes) {
  TempDir dir;
  WriteText(dir.File("Warrenfold.prefs"),
            "[settings]\nsoundfx=0\nMusic = yes\nLanguage =  fr_FR \t\n");
  Settings s{"xx", 1, ScreenMode::FullScreen, 7, 2, 1, 9, 1};
  ASSERT_TRUE(LoadPreferences(s, dir.Folder()));
  EXPECT_EQ(
      PreferencesBytes(s),
      PreferencesBytes({"fr_FR", 0, ScreenMode::FullScreen, 1, 0, 0, 1, 0}));
  WriteText(dir.File("Warrenfold.prefs"), "[Other]\n");
  s = {"xx", 0, ScreenMode::Window, 7, 2, 1, 9, 0};
  ASSERT_TRUE(LoadPreferences(s, dir.Folder()));
  Settings defaults;
  defaults.gameScreen = ScreenMode::Window;
  EXPECT_EQ(PreferencesBytes(s), PreferencesBytes(defaults));
  std::filesystem::remove(dir.File("Warrenfold.prefs"));
  const Settings before = s;
  EXPECT_FALSE(LoadPreferences(s, dir.Folder()));
  EXPECT_EQ(PreferencesBytes(s), PreferencesBytes(before));
}

// A hand-edited window size outside the list is kept in the file, opens
// a window of the default size, shows the default entry on the settings
// screen, and is replaced only by a size chosen there.
TEST(Preferences, AWindowSizeOutsideTheListIsKeptUntilOneIsChosen) {
  TempDir dir;
  Settings synced; // nothing read yet: every setting counts
  auto game = std::make_unique<Game>();
  game->display.resolutions = ResolutionList();
  game->sound.recording = true;
  game->loop.settingsRow = kRowResolution;
  PendingSettings &p = game->loop.pending;
  for (const char *value : {"42", "-3", "10"}) {
    WriteText(dir.File("Warrenfold.prefs"),
              std::string("[Settings]\nResolution = ") + value + "\n");
    Settings s;
    ASSERT_TRUE(LoadPreferences(s, dir.Folder()));
    EXPECT_EQ(s.resolution, std::stoi(value));
    ASSERT_TRUE(SavePreferences(s, synced, dir.Folder()));
    EXPECT_NE(ReadText(dir.File("Warrenfold.prefs"))
                  .find(std::string("Resolution = ") + value + "\r\n"),
              std::string::npos);
    Display d;
    ChooseScreenSize(d, ScreenMode::Window, s.resolution);
    EXPECT_EQ(d.screenWidth, 1280);
    EXPECT_EQ(d.screenHeight, 720);
    p = MakePending(s);
    EXPECT_EQ(p.resolutionChoice, 1) << value;
    EXPECT_EQ(p.resolution, s.resolution); // until the player moves
    ChangeSetting(*game, +1);
    EXPECT_EQ(p.resolutionChoice, 2) << value;
    EXPECT_EQ(p.resolution, 2) << value; // the size shown, 1366x768
    p = MakePending(s);
    ChangeSetting(*game, -1);
    ChangeSetting(*game, -1); // already at the first entry
    EXPECT_EQ(p.resolutionChoice, 0) << value;
    EXPECT_EQ(p.resolution, 0) << value;
  }
  // Inside the list, steps stop at the last entry.
  Settings s;
  s.resolution = 9;
  p = MakePending(s);
  ChangeSetting(*game, +1);
  EXPECT_EQ(p.resolution, 9);
  ChangeSetting(*game, -1);
  EXPECT_EQ(p.resolutionChoice, 8);
  EXPECT_EQ(p.resolution, 8);
}

// A file over the size limit, otherwise valid, counts as none. (A folder,
// a FIFO or an endless device is refused by the platform's read, its own
// test, and never waited on by the game: the player files' test.)
TEST(Preferences, AFileOverTheLimitCountsAsNone) {
  TempDir dir;
  WriteText(dir.File("Warrenfold.prefs"),
            "[Settings]\nMusic = 0\n" + std::string(1 << 20, ';'));
  Settings s;
  s.music = 7;
  EXPECT_FALSE(LoadPreferences(s, dir.Folder()));
  EXPECT_EQ(s.music, 7);
}

// Two copies of the game on one folder: a save applies only the settings
// that copy changed since it read or last wrote the file, to the file as
// it is then; the file keeps its written form.
TEST(Preferences, ASaveKeepsAnotherCopysChanges) {
  TempDir dir;
  WriteText(dir.File("Warrenfold.prefs"),
            "[Settings]\nLanguage = de_DE\nResolution = 3\n");
  Settings a, b;
  ASSERT_TRUE(LoadPreferences(a, dir.Folder()));
  ASSERT_TRUE(LoadPreferences(b, dir.Folder()));
  Settings syncedA = a, syncedB = b;
  a.music = 0;
  a.language = "en_GB"; // b's later choice stands, through a's next save too
  ASSERT_TRUE(SavePreferences(a, syncedA, dir.Folder()));
  b.language = "fr_FR";
  b.resolution = 4;
  ASSERT_TRUE(SavePreferences(b, syncedB, dir.Folder()));
  Settings both = a;
  both.language = "fr_FR";
  both.resolution = 4;
  const auto bytes = PreferencesBytes(both);
  EXPECT_EQ(ReadText(dir.File("Warrenfold.prefs")),
            std::string(bytes.begin(), bytes.end()));
  ASSERT_TRUE(SavePreferences(a, syncedA, dir.Folder()));
  EXPECT_EQ(ReadText(dir.File("Warrenfold.prefs")),
            std::string(bytes.begin(), bytes.end()));
}

} // namespace
