// shell_settings_replay_test.cpp — the settings screen of the real binary
// driven by replays: a language, music and sound effects changed and
// applied, a new window size, borderless and back; checked in the run log,
// the preferences written at the exit and the saved frame's size.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/languages.h"
#include "support/game_copy.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class SettingsReplay : public ::testing::Test {
protected:
  TempDir root;
  GameCopy copy;

  void SetUp() override { copy = MakeGameCopy(root.Folder()); }

  // Key presses from pass 20 on, four passes apart, after the opening
  // screens were skipped; then Esc quits from the main menu.
  ProgramResult Run(const std::string &prefs,
                    const std::vector<std::string> &keys) {
    WriteText(copy.gameDir + "Warrenfold.prefs", prefs);
    std::string replay = "seed 1\n10 down Esc\n11 up Esc\n12 down Esc\n"
                         "13 up Esc\n";
    int pass = 20;
    for (const std::string &k : keys) {
      replay += std::to_string(pass) + " down " + k + "\n" +
                std::to_string(pass + 1) + " up " + k + "\n";
      pass += 4;
    }
    replay += std::to_string(pass + 10) + " down Esc\n" +
              std::to_string(pass + 11) + " up Esc\n";
    WriteText(root.File("settings.replay"), replay);
    return RunProgram(copy.gameDir + "warrenfold", {"/LOG"},
                      HeadlessEnv(copy, root.File("settings.replay")),
                      root.File("stderr"));
  }

  std::string Prefs() { return ReadText(copy.gameDir + "Warrenfold.prefs"); }

  std::vector<std::string> Log() {
    const auto logs = FilesLike(copy.gameDir, "Log ", ".log");
    std::vector<std::string> lines;
    if (logs.size() == 1)
      LogLines(ReadText(logs[0]), lines);
    return lines;
  }
};

bool Has(const std::vector<std::string> &lines, const std::string &line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string PrefsFile(const std::string &language, int music, int screen,
                      int resolution, int effects) {
  return "\xEF\xBB\xBF\r\n; Warrenfold Preferences\r\n[Settings]\r\n"
         "Language = " +
         language + "\r\nMusic = " + std::to_string(music) +
         "\r\nGameScreen = " + std::to_string(screen) +
         "\r\nResolution = " + std::to_string(resolution) +
         "\r\nGamepad = 0\r\nPad = 0\r\nButton = 1\r\nSoundFX = " +
         std::to_string(effects) + "\r\n";
}

TEST_F(SettingsReplay, LanguageMusicEffectsAndBorderlessApplied) {
  // The language one step to the right of English in the settings list.
  Languages lang;
  ScanLanguages(lang, LanguageSource(copy.gameDir));
  FindLanguage(lang, "en_GB");
  ASSERT_GE(lang.choice, 0);
  const bool right = lang.choice + 1 < static_cast<int>(lang.choices.size());
  const std::string next = lang.choices[lang.choice + (right ? 1 : -1)].first;

  const ProgramResult r =
      Run(PrefsFile("en_GB", 1, 1, 0, 1),
          {"Down", "Return",                 // Settings, row 1
           right ? "Right" : "Left", "Down", // language; row 2
           "Right", "Down", "Right", "Down", // music off, effects off
           "Right", "Down", "Return"});      // borderless; OK
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Prefs(), PrefsFile(next, 0, 2, 0, 0));
  const auto log = Log();
  EXPECT_TRUE(Has(log, "Music:\t\tOFF"));
  EXPECT_TRUE(Has(log, "Sounds:\t\tOFF"));
  EXPECT_TRUE(Has(log, "Load language (" + next + "):\t\tOK"));
  EXPECT_TRUE(Has(log, "Opening screen (Borderless):\t\tOK"));
}

TEST_F(SettingsReplay, ANewWindowSizeAndBackFromBorderless) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "each reopening reloads every picture: too slow under the "
                  "sanitizers; the settings tests cover the code there";
#endif
  // Windowed 1024 x 576 → 1280 x 720: the resolution row is reachable.
  ProgramResult r = Run(PrefsFile("en_GB", 1, 1, 0, 1),
                        {"Down", "Return", "Down", "Down", "Down", "Down",
                         "Right", "Down", "Return", "F1"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Prefs(), PrefsFile("en_GB", 1, 1, 1, 1));
  auto log = Log();
  EXPECT_TRUE(Has(log, "Screenwidth:\t\t1280"));
  const auto shots = FilesLike(copy.gameDir, "Warrenfold ", ".bmp");
  ASSERT_EQ(shots.size(), 1u);
  const std::string bmp = ReadText(shots[0]);
  ASSERT_GT(bmp.size(), 26u);
  EXPECT_EQ(static_cast<unsigned char>(bmp[18]) +
                256 * static_cast<unsigned char>(bmp[19]),
            1280);

  // Borderless → windowed → borderless: the window size row is skipped
  // while borderless, so Down from the screen mode reaches OK.
  for (const auto &f : FilesLike(copy.gameDir, "Log ", ".log"))
    fs::remove(f);
  r = Run(PrefsFile("en_GB", 1, 2, 3, 1),
          {"Down", "Return", "Down", "Down", "Down", "Left", "Down", "Down",
           "Return", "Return", "Down", "Down", "Down", "Right", "Down",
           "Return"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Prefs(), PrefsFile("en_GB", 1, 2, 3, 1));
  log = Log();
  const auto windowed =
      std::find(log.begin(), log.end(), "Opening screen (Windowed):\t\tOK");
  ASSERT_NE(windowed, log.end());
  EXPECT_NE(
      std::find(windowed, log.end(), "Opening screen (Borderless):\t\tOK"),
      log.end());
}

} // namespace
