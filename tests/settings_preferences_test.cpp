// settings_preferences_test.cpp — reading and writing "Warrenfold.prefs".
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "settings/display.h"
#include "settings/preferences.h"
#include "support/obstacles.h"
#include "support/temp_dir.h"
#include "support/watchdog.h"

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

TEST(Preferences, WritesTheElevenLineFileByteForByte) {
  TempDir dir;
  Settings synced; // nothing read yet: every setting counts
  Settings s;
  s.language = "en_GB";
  ASSERT_TRUE(SavePreferences(s, synced, dir.Folder()));
  EXPECT_EQ(ReadText(dir.File("Warrenfold.prefs")), kDefaultFile);
  s.gamepad = -3;
  const auto bytes = PreferencesBytes(s);
  EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("Gamepad = -3\r\n"),
            std::string::npos);
}

TEST(Preferences, ReadsWhatItWrites) {
  TempDir dir;
  Settings synced; // nothing read yet: every setting counts
  // Every value other than its default: a key the reader misses shows.
  Settings s{"de_DE", 0, ScreenMode::Window, 7, 2, 1, 5, 0};
  ASSERT_TRUE(SavePreferences(s, synced, dir.Folder()));
  Settings r;
  ASSERT_TRUE(LoadPreferences(r, dir.Folder()));
  EXPECT_EQ(PreferencesBytes(r), PreferencesBytes(s));
}

TEST(Preferences, HandEditedValues) {
  TempDir dir;
  // Lower-case soundfx, a word for a number, a padded language, an
  // impossible window size.
  WriteText(dir.File("Warrenfold.prefs"),
            "[settings]\nsoundfx=0\nMusic = yes\nLanguage =  fr_FR \t\n"
            "Resolution = 42\n");
  Settings s;
  s.gameScreen = ScreenMode::FullScreen;
  ASSERT_TRUE(LoadPreferences(s, dir.Folder()));
  EXPECT_EQ(s.soundFx, 0);
  EXPECT_EQ(s.music, 0);
  EXPECT_EQ(s.language, "fr_FR");
  EXPECT_EQ(s.gameScreen,
            ScreenMode::FullScreen); // missing: keeps the value in force
}

TEST(Preferences, AWindowSizeOutsideTheListIsKeptAsWritten) {
  TempDir dir;
  Settings synced; // nothing read yet: every setting counts
  for (const char *value : {"42", "-3"}) {
    WriteText(dir.File("Warrenfold.prefs"),
              std::string("[Settings]\nResolution = ") + value + "\n");
    Settings s;
    ASSERT_TRUE(LoadPreferences(s, dir.Folder()));
    EXPECT_EQ(s.resolution, std::stoi(value));
    ASSERT_TRUE(SavePreferences(s, synced, dir.Folder()));
    EXPECT_NE(ReadText(dir.File("Warrenfold.prefs"))
                  .find(std::string("Resolution = ") + value + "\r\n"),
              std::string::npos);
    // A window opens at the default size (the settings screen's part is
    // the resolution test's).
    Display d;
    ChooseScreenSize(d, ScreenMode::Window, s.resolution);
    EXPECT_EQ(d.screenWidth, 1280);
    EXPECT_EQ(d.screenHeight, 720);
  }
}

TEST(Preferences, ForeignGroupGivesDefaultsMissingFileKeepsSettings) {
  TempDir dir;
  Settings s{"xx", 0, ScreenMode::Window, 7, 2, 1, 9, 0};
  const Settings before = s;
  EXPECT_FALSE(LoadPreferences(s, dir.Folder()));
  EXPECT_EQ(PreferencesBytes(s), PreferencesBytes(before));
  WriteText(dir.File("Warrenfold.prefs"), "[Other]\n");
  ASSERT_TRUE(LoadPreferences(s, dir.Folder()));
  Settings defaults;
  defaults.gameScreen = ScreenMode::Window; // the mode in force stays
  EXPECT_EQ(PreferencesBytes(s), PreferencesBytes(defaults));
}

TEST(Preferences, AFileThatCannotBeReadCountsAsNoneAndStays) {
  Watchdog watchdog;
  Settings synced; // nothing read yet: every setting counts
  for (const char *kind : {"folder", "fifo", "zero", "huge"}) {
    TempDir dir;
    const std::string prefs = dir.File("Warrenfold.prefs");
    const bool huge = std::string(kind) == "huge";
    if (huge) // over the limit, and otherwise a valid file
      WriteText(prefs, "[Settings]\nMusic = 0\n" + std::string(1 << 20, ';'));
    else
      ASSERT_TRUE(MakeObstacle(kind, prefs)) << kind;
    Settings s;
    s.music = 7;
    s.language = "de_DE";
    EXPECT_FALSE(LoadPreferences(s, dir.Folder())) << kind;
    EXPECT_EQ(s.music, 7) << kind;
    EXPECT_EQ(s.language, "de_DE") << kind;
    if (huge)
      continue;
    // Only a regular file is ever replaced at the exit, and a failed save
    // leaves no temporary file behind.
    EXPECT_FALSE(SavePreferences(s, synced, dir.Folder())) << kind;
    EXPECT_TRUE(StillObstacle(kind, prefs)) << kind;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path),
                            std::filesystem::directory_iterator()),
              1)
        << kind;
  }
  // A link to a real file is read; a folder that is not there is no place
  // to save.
  TempDir dir;
  WriteText(dir.File("real"), "[Settings]\nMusic = 0\n");
  std::filesystem::create_symlink("real", dir.File("Warrenfold.prefs"));
  Settings s;
  ASSERT_TRUE(LoadPreferences(s, dir.Folder()));
  EXPECT_EQ(s.music, 0);
  EXPECT_FALSE(SavePreferences(s, synced, dir.Folder() + "missing/"));
}

TEST(Preferences, SavingKeepsAReadOnlyFileAndAPlayersLink) {
  TempDir dir;
  Settings synced; // nothing read yet: every setting counts
  const std::string prefs = dir.File("Warrenfold.prefs");
  WriteText(prefs, "[Settings]\nMusic = 0\n");
  chmod(prefs.c_str(), 0444); // counts for root too
  Settings s;
  EXPECT_FALSE(SavePreferences(s, synced, dir.Folder()));
  EXPECT_EQ(ReadText(prefs), "[Settings]\nMusic = 0\n");
  chmod(prefs.c_str(), 0644);
  std::filesystem::remove(prefs);

  std::filesystem::create_directory(dir.File("synced"));
  WriteText(dir.File("synced/mine.prefs"), "old");
  std::filesystem::create_symlink("synced/mine.prefs", prefs);
  s.language = "en_GB";
  ASSERT_TRUE(SavePreferences(s, synced, dir.Folder()));
  EXPECT_TRUE(std::filesystem::is_symlink(prefs));
  EXPECT_EQ(ReadText(dir.File("synced/mine.prefs")), kDefaultFile);
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
