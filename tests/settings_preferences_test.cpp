// settings_preferences_test.cpp — reading and writing "Warrenfold.prefs".
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "settings/display.h"
#include "settings/preferences.h"
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
  Settings s;
  s.language = "en_GB";
  ASSERT_TRUE(SavePreferences(s, dir.Folder()));
  EXPECT_EQ(ReadText(dir.File("Warrenfold.prefs")), kDefaultFile);
  s.gamepad = -3;
  const auto bytes = PreferencesBytes(s);
  EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("Gamepad = -3\r\n"),
            std::string::npos);
}

TEST(Preferences, ReadsWhatItWrites) {
  TempDir dir;
  Settings s;
  s.language = "de_DE";
  s.music = 0;
  s.gameScreen = ScreenMode::Window;
  s.resolution = 7;
  s.gamepad = 2;
  s.pad = 1;
  s.button = 5;
  s.soundFx = 0;
  ASSERT_TRUE(SavePreferences(s, dir.Folder()));
  Settings r;
  ASSERT_TRUE(LoadPreferences(r, dir.Folder()));
  EXPECT_EQ(r.language, "de_DE");
  EXPECT_EQ(r.music, 0);
  EXPECT_EQ(r.gameScreen, ScreenMode::Window);
  EXPECT_EQ(r.resolution, 7);
  EXPECT_EQ(r.gamepad, 2);
  EXPECT_EQ(r.pad, 1);
  EXPECT_EQ(r.button, 5);
  EXPECT_EQ(r.soundFx, 0);
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
  for (const char *value : {"42", "-3"}) {
    WriteText(dir.File("Warrenfold.prefs"),
              std::string("[Settings]\nResolution = ") + value + "\n");
    Settings s;
    ASSERT_TRUE(LoadPreferences(s, dir.Folder()));
    EXPECT_EQ(s.resolution, std::stoi(value));
    ASSERT_TRUE(SavePreferences(s, dir.Folder()));
    EXPECT_NE(ReadText(dir.File("Warrenfold.prefs"))
                  .find(std::string("Resolution = ") + value + "\r\n"),
              std::string::npos);
    // The settings screen shows the default entry but keeps the value
    // until the player picks another.
    const PendingSettings p = MakePending(s);
    EXPECT_EQ(p.resolution, s.resolution);
    EXPECT_EQ(p.resolutionChoice, 1);
    // And a window opens at the default size.
    Display d;
    ChooseScreenSize(d, ScreenMode::Window, s.resolution);
    EXPECT_EQ(d.screenWidth, 1280);
    EXPECT_EQ(d.screenHeight, 720);
  }
  Settings s;
  s.resolution = 9;
  EXPECT_EQ(MakePending(s).resolutionChoice, 9);
}

TEST(Preferences, ForeignGroupGivesDefaults) {
  TempDir dir;
  WriteText(dir.File("Warrenfold.prefs"), "[Other]\n");
  Settings s;
  s.language = "xx";
  s.music = 0;
  s.button = 9;
  ASSERT_TRUE(LoadPreferences(s, dir.Folder()));
  EXPECT_EQ(s.language, "");
  EXPECT_EQ(s.music, 1);
  EXPECT_EQ(s.button, 1);
}

TEST(Preferences, MissingFileLeavesSettings) {
  TempDir dir;
  Settings s;
  s.music = 0;
  EXPECT_FALSE(LoadPreferences(s, dir.Folder()));
  EXPECT_EQ(s.music, 0);
}

// What may stand where a file is expected, made by name in the folder.
void MakeObstacle(const std::string &kind, const std::string &path) {
  namespace fs = std::filesystem;
  if (kind == "folder")
    fs::create_directory(path);
  else if (kind == "fifo")
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
  else if (kind == "zero")
    fs::create_symlink("/dev/zero", path);
  else if (kind == "huge") // over the limit, and otherwise a valid file
    WriteText(path, "[Settings]\nMusic = 0\n" + std::string(1 << 20, ';'));
}

TEST(Preferences, AFileThatCannotBeReadCountsAsNone) {
  Watchdog watchdog;
  for (const char *kind : {"folder", "fifo", "zero", "huge"}) {
    TempDir dir;
    MakeObstacle(kind, dir.File("Warrenfold.prefs"));
    Settings s;
    s.music = 7;
    s.language = "de_DE";
    EXPECT_FALSE(LoadPreferences(s, dir.Folder())) << kind;
    EXPECT_EQ(s.music, 7) << kind;
    EXPECT_EQ(s.language, "de_DE") << kind;
    // Only a regular file is ever replaced at the exit.
    if (std::string(kind) != "huge") {
      EXPECT_FALSE(SavePreferences(s, dir.Folder())) << kind;
    }
  }
  // A link to a real file is read.
  TempDir dir;
  WriteText(dir.File("real"), "[Settings]\nMusic = 0\n");
  std::filesystem::create_symlink("real", dir.File("Warrenfold.prefs"));
  Settings s;
  ASSERT_TRUE(LoadPreferences(s, dir.Folder()));
  EXPECT_EQ(s.music, 0);
}

TEST(Preferences, SavingKeepsAReadOnlyFileAndAPlayersLink) {
  TempDir dir;
  const std::string prefs = dir.File("Warrenfold.prefs");
  WriteText(prefs, "[Settings]\nMusic = 0\n");
  chmod(prefs.c_str(), 0444); // counts for root too
  Settings s;
  EXPECT_FALSE(SavePreferences(s, dir.Folder()));
  EXPECT_EQ(ReadText(prefs), "[Settings]\nMusic = 0\n");
  chmod(prefs.c_str(), 0644);
  std::filesystem::remove(prefs);

  std::filesystem::create_directory(dir.File("synced"));
  WriteText(dir.File("synced/mine.prefs"), "old");
  std::filesystem::create_symlink("synced/mine.prefs", prefs);
  s.language = "en_GB";
  ASSERT_TRUE(SavePreferences(s, dir.Folder()));
  EXPECT_TRUE(std::filesystem::is_symlink(prefs));
  EXPECT_EQ(ReadText(dir.File("synced/mine.prefs")), kDefaultFile);
}

TEST(Preferences, FailedSaveIsReportedAndLeavesNoTrace) {
  TempDir dir;
  // Something that is not a file stands where the preferences go.
  std::filesystem::create_directory(dir.File("Warrenfold.prefs"));
  Settings s;
  EXPECT_FALSE(SavePreferences(s, dir.Folder()));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("Warrenfold.prefs")));
  size_t entries = 0;
  for (const auto &e : std::filesystem::directory_iterator(dir.path)) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1u); // no temporary file left behind
  EXPECT_FALSE(SavePreferences(s, dir.Folder() + "missing/"));
}

} // namespace
