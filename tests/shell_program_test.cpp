// shell_program_test.cpp — the game binary from start to exit: folders,
// the run log, the orderly exit, screenshots and replays.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class Program : public ::testing::Test {
protected:
  TempDir root;
  std::string gameDir, userDir, xdg;

  void SetUp() override {
    gameDir = root.Folder() + "game/";
    xdg = root.Folder() + "xdg";
    userDir = xdg + "/Duskmoth/Warrenfold/";
    fs::create_directories(gameDir);
    fs::create_directories(root.Folder() + "home");
    const std::string from = WARRENFOLD_GAME_DIR;
    // The game finds its archives beside its own file.
    fs::copy_file(from + "warrenfold", gameDir + "warrenfold");
    for (const char *name :
         {"Warrenfold.data", "Warrenfold.maps", "Warrenfold.languages"})
      if (fs::exists(from + name))
        fs::create_symlink(from + name, gameDir + name);
  }

  ProgramResult Run(const std::vector<std::string> &args,
                    const std::string &replay,
                    std::map<std::string, std::string> env = {}) {
    const std::string replayFile = root.File("run.replay");
    WriteText(replayFile, replay);
    env.emplace("SDL_VIDEODRIVER", "dummy");
    env.emplace("SDL_RENDER_DRIVER", "software");
    env.emplace("SDL_AUDIODRIVER", "dummy");
    env.emplace("WARRENFOLD_UNPACED", "1");
    env.emplace("WARRENFOLD_REPLAY", replayFile);
    env.emplace("XDG_DATA_HOME", xdg);
    env.emplace("HOME", root.Folder() + "home");
    env.emplace("LANG", "en_GB.UTF-8");
    env.emplace("LC_ALL", "");
    env.emplace("LC_MESSAGES", "");
    return RunProgram(gameDir + "warrenfold", args, env, root.File("stderr"));
  }

  std::vector<std::string> Log(const std::string &folder) {
    const auto logs = FilesLike(folder, "Log ", ".log");
    EXPECT_EQ(logs.size(), 1u) << folder;
    std::vector<std::string> lines;
    if (logs.size() == 1) {
      EXPECT_TRUE(LogLines(ReadText(logs[0]), lines)) << "CR LF line ends";
    }
    return lines;
  }
};

bool Has(const std::vector<std::string> &lines, const std::string &line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

size_t IndexOf(const std::vector<std::string> &lines, const std::string &line) {
  return std::find(lines.begin(), lines.end(), line) - lines.begin();
}

TEST_F(Program, LogAndOrderlyExitInTheUserFolder) {
  const ProgramResult r = Run({"/LOG"}, "30 quit\n");
  ASSERT_EQ(r.status, 0) << r.err;
  // No preferences beside the game: the per-user folder is created and
  // everything is written there.
  EXPECT_FALSE(fs::exists(gameDir + "Warrenfold.prefs"));
  ASSERT_TRUE(fs::exists(userDir + "Warrenfold.prefs"));
  EXPECT_EQ(ReadText(userDir + "Warrenfold.scores"),
            "01\r\n01\r\n01\r\n01\r\n01\r\n");
  const std::string prefs = ReadText(userDir + "Warrenfold.prefs");
  EXPECT_EQ(prefs.substr(0, 5), "\xEF\xBB\xBF\r\n");
  EXPECT_NE(prefs.find("Language = en_GB\r\n"), std::string::npos);

  const auto lines = Log(userDir);
  ASSERT_GT(lines.size(), 40u);
  EXPECT_EQ(lines[0], "Warrenfold");
  EXPECT_TRUE(std::regex_match(
      lines[1], std::regex(R"(\d{4}-\d\d-\d\d--\d\d-\d\d-\d\d)")));
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "[SYSTEM DETAILS]");
  EXPECT_EQ(lines[4].rfind("CPU Name:\t\t", 0), 0u);
  EXPECT_EQ(lines[5].rfind("Total CPU cores:\t\t", 0), 0u);
  EXPECT_EQ(lines[10], "Operating system:\t\t300");
  EXPECT_EQ(lines[11], "");
  EXPECT_EQ(lines[12], "[GAME DETAILS]");
  EXPECT_EQ(lines[13], "Title:\t\tWarrenfold");
  EXPECT_EQ(lines[14], "Family:\t\tSolvane");
  EXPECT_EQ(lines[15], "Version:\t\t1.0.0.3");
  EXPECT_EQ(lines[17], "Bit:\t\t(x86)");
  EXPECT_EQ(lines[19], "[CODE SUBSYSTEMS]");
  EXPECT_EQ(lines[20], "Language:\t\t2.0");
  EXPECT_EQ(lines[21], "Log:\t\t1.2");
  EXPECT_EQ(lines[23], "[PATHS]");
  EXPECT_EQ(lines[24], "GameDir:\t\t" + gameDir);
  EXPECT_EQ(lines[25], "UserDir:\t\t" + userDir);
  EXPECT_EQ(lines[26], "SaveTo:\t\t" + userDir);
  EXPECT_EQ(lines[28], "[INITIAL SETTINGS]");
  EXPECT_EQ(lines[29], "Language:\t\ten_GB");
  EXPECT_EQ(lines[30], "GameScreen:\t\tBorderless");
  EXPECT_EQ(lines[31], "Music:\t\tOn");
  EXPECT_EQ(lines[32], "ScreenMode:\t\t1");
  EXPECT_EQ(lines[33], "");
  EXPECT_EQ(lines[34], "[AVAILABLE LANGUAGES]");
  const size_t starting = IndexOf(lines, "[STARTING GAME]");
  ASSERT_LT(starting, lines.size());
  EXPECT_GE(starting - 36, 10u); // ten languages or more
  EXPECT_EQ(lines[starting + 1], "Load language (en_GB):\t\tOK");
  EXPECT_EQ(lines[starting + 2], "InitSprite:\t\tOK");
  EXPECT_EQ(lines[starting + 3], "InitKeyboard:\t\tOK");
  EXPECT_EQ(lines[starting + 4], "InitSound:\t\tOK");
  EXPECT_EQ(lines[starting + 5], "ScreenWidth:\t\t1024");
  EXPECT_EQ(lines[starting + 6], "ScreenHeight:\t\t768");
  EXPECT_EQ(lines[starting + 7], "Load asset (music1.ogg):\t\tOK");
  const size_t open = IndexOf(lines, "Opening screen (Borderless):\t\tOK");
  ASSERT_LT(open, lines.size());
  EXPECT_EQ(lines[open + 1], "Screenwidth:\t\t1024");
  EXPECT_EQ(lines[open + 2], "Screenheight:\t\t768");
  EXPECT_EQ(lines[open + 3], "Joystick:\t\t0");
  EXPECT_EQ(lines[open + 4], "AspectRatio:\t\t1");
  EXPECT_EQ(lines[open + 5], "AspectRatio:  4:3");
  EXPECT_EQ(lines[open + 6], "Load asset (title_4x3.png):\t\tOK");
  EXPECT_EQ(lines[open + 7], "AspectRatio:  4:3");
  EXPECT_EQ(lines[open + 8], "Load asset (qirn_4x3.png):\t\tOK");
  EXPECT_TRUE(Has(lines, "countdown_46.png\t\tOK"));
  EXPECT_EQ(lines[lines.size() - 3], "TileSize: \t\t25");
  EXPECT_EQ(lines[lines.size() - 2], "OffsetX: \t\t-25");
  EXPECT_EQ(lines[lines.size() - 1], "OffsetY: \t\t90");
}

TEST_F(Program, PreferencesBesideTheGameKeepEverythingThere) {
  WriteText(gameDir + "Warrenfold.prefs",
            "[Settings]\nGameScreen = 1\nResolution = 0\n");
  const ProgramResult r =
      Run({"/LOG", "extra", "/LOG"}, "5 quit\n", {{"LANG", "de_DE.UTF-8"}});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(fs::exists(xdg)); // the per-user folder is not even made
  const auto lines = Log(gameDir);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[26], "SaveTo:\t\t" + gameDir);
  EXPECT_EQ(lines[29], "Language:\t\t"); // empty: not the system locale
  EXPECT_TRUE(Has(lines, "GameScreen:\t\tWindowed"));
  EXPECT_TRUE(Has(lines, "ScreenMode:\t\t0"));
  EXPECT_TRUE(Has(lines, "Load language (en_GB):\t\tOK"));
  EXPECT_TRUE(Has(lines, "ScreenWidth:\t\t1024")); // the desktop
  const size_t open = IndexOf(lines, "Opening screen (Windowed):\t\tOK");
  ASSERT_LT(open, lines.size());
  EXPECT_EQ(lines[open + 1], "Screenwidth:\t\t1024");
  EXPECT_EQ(lines[open + 2], "Screenheight:\t\t576");
  EXPECT_EQ(lines[open + 4], "AspectRatio:\t\t3");
  const std::string prefs = ReadText(gameDir + "Warrenfold.prefs");
  EXPECT_NE(prefs.find("Language = en_GB\r\nMusic = 1\r\nGameScreen = 1\r\n"
                       "Resolution = 0\r\n"),
            std::string::npos);
}

TEST_F(Program, SystemLocaleChoosesTheLanguage) {
  ASSERT_EQ(Run({"/LOG"}, "1 quit\n", {{"LANG", "de_DE.UTF-8"}}).status, 0);
  EXPECT_TRUE(Has(Log(userDir), "Load language (de_DE):\t\tOK"));
  fs::remove_all(xdg);
  // A locale without a language file falls back to British English.
  ASSERT_EQ(Run({"/LOG"}, "1 quit\n", {{"LANG", "xx_YY.UTF-8"}}).status, 0);
  const auto lines = Log(userDir);
  EXPECT_TRUE(Has(lines, "Language:\t\txx_YY"));
  EXPECT_TRUE(Has(lines, "Load language (en_GB):\t\tOK"));
}

TEST_F(Program, LogOnlyForTheExactFirstParameter) {
  ASSERT_EQ(Run({"/log"}, "1 quit\n").status, 0);
  ASSERT_EQ(Run({"x", "/LOG"}, "1 quit\n").status, 0);
  ASSERT_EQ(Run({}, "1 quit\n").status, 0);
  EXPECT_TRUE(FilesLike(userDir, "Log ", ".log").empty());
  EXPECT_TRUE(FilesLike(gameDir, "Log ", ".log").empty());
  EXPECT_TRUE(fs::exists(userDir + "Warrenfold.prefs"));
}

TEST_F(Program, ScreenshotsAreDeterministic) {
  const std::string replay = "seed 7\n# open the menu, then a shot\n"
                             "0 down Esc\n1 up Esc\n2 down Esc\n3 up Esc\n"
                             "40 down F1\n41 up F1\n45 quit\n";
  ASSERT_EQ(Run({"/LOG"}, replay).status, 0);
  auto shots = FilesLike(userDir, "Warrenfold ", ".bmp");
  ASSERT_EQ(shots.size(), 1u);
  const std::string name = fs::path(shots[0]).filename().string();
  EXPECT_TRUE(std::regex_match(
      name, std::regex(R"(Warrenfold \d\d-\d\d-\d{4} \d\d-\d\d-\d\d\.bmp)")))
      << name;
  const std::string first = ReadText(shots[0]);
  ASSERT_GT(first.size(), 54u);
  EXPECT_EQ(first.substr(0, 2), "BM");
  const auto u16 = [&](size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(first[at])) |
           static_cast<unsigned>(static_cast<unsigned char>(first[at + 1]))
               << 8;
  };
  EXPECT_EQ(u16(18), 1024u);
  EXPECT_EQ(u16(22), 768u);
  EXPECT_EQ(u16(28), 24u);
  EXPECT_TRUE(Has(Log(userDir), "Saving screenshot:\t\tOK"));

  fs::remove(shots[0]);
  ASSERT_EQ(Run({}, replay).status, 0);
  shots = FilesLike(userDir, "Warrenfold ", ".bmp");
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_TRUE(ReadText(shots[0]) == first) << "same replay, same frame";
}

TEST_F(Program, ARecordingReplaysIdentically) {
  const std::string replay = "seed 11\n0 down Esc\n1 up Esc\n2 down Esc\n"
                             "3 up Esc\n20 down Down\n23 up Down\n"
                             "30 pad connect\n31 pad axis 0 0 1000\n"
                             "33 pad axis 0 0 0\n40 down M\n41 up M\n"
                             "60 down F1\n61 up F1\n65 quit\n";
  const std::string recording = root.File("run.record");
  ASSERT_EQ(Run({}, replay, {{"WARRENFOLD_RECORD", recording}}).status, 0);
  const std::string recorded = ReadText(recording);
  EXPECT_NE(recorded.find("seed 11\n"), std::string::npos) << recorded;
  EXPECT_NE(recorded.find("20 down Down\n"), std::string::npos);
  EXPECT_NE(recorded.find("23 up Down\n"), std::string::npos);
  EXPECT_NE(recorded.find("65 quit\n"), std::string::npos);
  auto shots = FilesLike(userDir, "Warrenfold ", ".bmp");
  ASSERT_EQ(shots.size(), 1u);
  const std::string first = ReadText(shots[0]);
  fs::remove(shots[0]);
  // The recording, played back, draws the same frame.
  const std::string replayed = root.File("again.replay");
  fs::copy_file(recording, replayed);
  ASSERT_EQ(Run({}, ReadText(replayed)).status, 0);
  shots = FilesLike(userDir, "Warrenfold ", ".bmp");
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_TRUE(ReadText(shots[0]) == first);
}

TEST_F(Program, MalformedReplayStopsBeforeTheScreen) {
  const ProgramResult r = Run({"/LOG"}, "# ok\n0 down Esc\n3 jump\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("run.replay:3:"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(userDir + "Warrenfold.prefs"));
}

TEST_F(Program, ImpossibleScreenModeEndsWithoutSaving) {
  WriteText(gameDir + "Warrenfold.prefs", "[Settings]\nGameScreen = 7\n");
  const std::string before = ReadText(gameDir + "Warrenfold.prefs");
  const ProgramResult r = Run({"/LOG"}, "5 quit\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Warrenfold::"), std::string::npos) << r.err;
  EXPECT_EQ(ReadText(gameDir + "Warrenfold.prefs"), before);
  const auto lines = Log(gameDir);
  EXPECT_FALSE(Has(lines, "Opening screen (Fullscreen):\t\tOK"));
}

TEST_F(Program, FullScreenHeadless) {
  WriteText(gameDir + "Warrenfold.prefs", "[Settings]\nGameScreen = 0\n");
  ASSERT_EQ(Run({"/LOG"}, "5 quit\n").status, 0);
  const auto lines = Log(gameDir);
  EXPECT_TRUE(Has(lines, "Opening screen (Fullscreen):\t\tOK"));
  EXPECT_TRUE(Has(lines, "Screenwidth:\t\t1024"));
}

TEST_F(Program, MissingDataArchiveIsFatal) {
  fs::remove(gameDir + "Warrenfold.data");
  const ProgramResult r = Run({"/LOG"}, "5 quit\n");
  EXPECT_EQ(r.status, 1);
  const auto lines = Log(userDir);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Load asset (music and sfx):\t\tFAILED");
  EXPECT_FALSE(fs::exists(userDir + "Warrenfold.prefs"));
}

TEST_F(Program, UnwritableUserFolderStillRuns) {
  // A file where the per-user folder would go: it cannot be created.
  fs::create_directories(xdg);
  WriteText(xdg + "/Duskmoth", "in the way");
  const ProgramResult r = Run({"/LOG"}, "5 quit\n");
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(Program, NoGameFolderIsFatalAndSavesNothing) {
  // Without /proc neither the system nor SDL can say where the program
  // lies; the current folder must not stand in for it.
  const std::string cwd = root.Folder() + "cwd";
  fs::create_directories(cwd);
  const ProgramResult probe =
      RunProgram("/usr/bin/unshare", {"--mount", "true"}, {}, root.File("e"));
  if (probe.status != 0)
    GTEST_SKIP() << "no mount namespaces here";
  const ProgramResult r = Run({}, "5 quit\n");
  ASSERT_EQ(r.status, 0) << "the same run with its folder found";
  const ProgramResult hidden =
      RunProgram("/usr/bin/unshare",
                 {"--mount", "--fork", "/bin/bash", "-c",
                  "mount -t tmpfs none /proc && cd \"$1\" && exec \"$0\"",
                  gameDir + "warrenfold", cwd},
                 {{"SDL_VIDEODRIVER", "dummy"},
                  {"SDL_AUDIODRIVER", "dummy"},
                  {"WARRENFOLD_REPLAY", root.File("run.replay")},
                  {"XDG_DATA_HOME", root.Folder() + "xdg-hidden"}},
                 root.File("stderr"));
  EXPECT_EQ(hidden.status, 1) << hidden.err;
  EXPECT_NE(hidden.err.find("own folder"), std::string::npos) << hidden.err;
  EXPECT_TRUE(fs::is_empty(cwd));
  EXPECT_FALSE(fs::exists(root.Folder() + "xdg-hidden"));
}

} // namespace
