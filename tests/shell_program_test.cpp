// shell_program_test.cpp — the game binary from start to exit: folders,
// the run log, the orderly exit, screenshots and replays.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/copied_game.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

class Program : public CopiedGame {
protected:
  ProgramResult Run(const std::string &args, const std::string &replay,
                    const std::map<std::string, std::string> &env = {}) {
    return RunReplay(replay, 120, args, "", env);
  }
};

size_t IndexOf(const std::vector<std::string> &lines, const std::string &line) {
  return std::find(lines.begin(), lines.end(), line) - lines.begin();
}

// The lines from `first` on: "?" stands for any line, a final '*' for any
// ending.
void ExpectLines(const std::vector<std::string> &lines, size_t first,
                 const std::vector<std::string> &expected) {
  for (size_t i = 0; i < expected.size(); ++i) {
    const std::string &e = expected[i];
    const std::string got = first + i < lines.size() ? lines[first + i] : "-";
    if (!e.empty() && e.back() == '*') {
      EXPECT_EQ(got.substr(0, e.size() - 1), e.substr(0, e.size() - 1))
          << "line " << first + i;
    } else if (e != "?") {
      EXPECT_EQ(got, e) << "line " << first + i;
    }
  }
}

TEST_F(Program, LogAndOrderlyExitInTheUserFolder) {
  const ProgramResult r = Run(" /LOG", "30 quit\n");
  ASSERT_EQ(r.status, 0) << r.err;
  // No preferences beside the game: the per-user folder is created and
  // everything is written there.
  EXPECT_FALSE(fs::exists(gameDir + "Warrenfold.prefs"));
  EXPECT_EQ(ReadText(userDir + "Warrenfold.scores"),
            "01\r\n01\r\n01\r\n01\r\n01\r\n");
  const std::string prefs = ReadText(userDir + "Warrenfold.prefs");
  EXPECT_EQ(prefs.substr(0, 5), "\xEF\xBB\xBF\r\n");
  EXPECT_NE(prefs.find("Language = en_GB\r\n"), std::string::npos);

  const auto lines = Log(userDir);
  ASSERT_GT(lines.size(), 40u);
  EXPECT_TRUE(std::regex_match(
      lines[1], std::regex(R"(\d{4}-\d\d-\d\d--\d\d-\d\d-\d\d)")));
  ExpectLines(lines, 0,
              {"Warrenfold",
               "?",
               "",
               "[SYSTEM DETAILS]",
               "CPU Name:\t\t*",
               "Total CPU cores:\t\t*",
               "?",
               "?",
               "?",
               "?",
               "Operating system:\t\t300",
               "",
               "[GAME DETAILS]",
               "Title:\t\tWarrenfold",
               "Family:\t\tSolvane",
               "Version:\t\t1.0.0.3",
               "Directory:\t\tDuskmoth/Warrenfold",
               "Bit:\t\t(x86)",
               "",
               "[CODE SUBSYSTEMS]",
               "Language:\t\t2.0",
               "Log:\t\t1.2",
               "",
               "[PATHS]",
               "GameDir:\t\t" + gameDir,
               "UserDir:\t\t" + userDir,
               "SaveTo:\t\t" + userDir,
               "",
               "[INITIAL SETTINGS]",
               "Language:\t\ten_GB",
               "GameScreen:\t\tBorderless",
               "Music:\t\tOn",
               "ScreenMode:\t\t1",
               "",
               "[AVAILABLE LANGUAGES]"});
  const size_t starting = IndexOf(lines, "[STARTING GAME]");
  ASSERT_LT(starting, lines.size());
  EXPECT_GE(starting - 36, 10u); // ten languages or more
  ExpectLines(lines, starting + 1,
              {"Load language (en_GB):\t\tOK", "InitSprite:\t\tOK",
               "InitKeyboard:\t\tOK", "InitSound:\t\tOK",
               "ScreenWidth:\t\t1024", "ScreenHeight:\t\t768",
               "Load asset (music1.ogg):\t\tOK"});
  const size_t open = IndexOf(lines, "Opening screen (Borderless):\t\tOK");
  ASSERT_LT(open, lines.size());
  ExpectLines(lines, open + 1,
              {"Screenwidth:\t\t1024", "Screenheight:\t\t768", "Joystick:\t\t0",
               "AspectRatio:\t\t1", "AspectRatio:  4:3",
               "Load asset (title_4x3.png):\t\tOK", "AspectRatio:  4:3",
               "Load asset (qirn_4x3.png):\t\tOK"});
  EXPECT_TRUE(Has(lines, "countdown_46.png\t\tOK"));
  ExpectLines(lines, lines.size() - 3,
              {"TileSize: \t\t25", "OffsetX: \t\t-25", "OffsetY: \t\t90"});
}

TEST_F(Program, PreferencesBesideTheGameKeepEverythingThere) {
  WriteText(gameDir + "Warrenfold.prefs",
            "[Settings]\nGameScreen = 1\nResolution = 0\n");
  const ProgramResult r =
      Run(" /LOG extra /LOG", "5 quit\n", {{"LANG", "de_DE.UTF-8"}});
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
  ExpectLines(lines, open + 1,
              {"Screenwidth:\t\t1024", "Screenheight:\t\t576", "?",
               "AspectRatio:\t\t3"});
  const std::string prefs = ReadText(gameDir + "Warrenfold.prefs");
  EXPECT_NE(prefs.find("Language = en_GB\r\nMusic = 1\r\nGameScreen = 1\r\n"
                       "Resolution = 0\r\n"),
            std::string::npos);
}

TEST_F(Program, SystemLocaleChoosesTheLanguage) {
  ASSERT_EQ(Run(" /LOG", "1 quit\n", {{"LANG", "de_DE.UTF-8"}}).status, 0);
  EXPECT_TRUE(Has(Log(userDir), "Load language (de_DE):\t\tOK"));
  fs::remove_all(xdg);
  // A locale without a language file falls back to British English.
  ASSERT_EQ(Run(" /LOG", "1 quit\n", {{"LANG", "xx_YY.UTF-8"}}).status, 0);
  const auto lines = Log(userDir);
  EXPECT_TRUE(Has(lines, "Language:\t\txx_YY"));
  EXPECT_TRUE(Has(lines, "Load language (en_GB):\t\tOK"));
}

// A screenshot taken by a replay, recorded; the recording played back
// draws the same frame. A log is written only for "/LOG" as the first
// parameter.
TEST_F(Program, ARecordingReplaysIdenticallyAndScreenshotsAreDeterministic) {
  const std::string replay = "seed 11\n0 down Esc\n1 up Esc\n2 down Esc\n"
                             "3 up Esc\n20 down Down\n23 up Down\n"
                             "30 pad connect\n31 pad axis 0 0 1000\n"
                             "33 pad axis 0 0 0\n40 down M\n41 up M\n"
                             "60 down F1\n61 up F1\n65 quit\n";
  const std::string recording = root.File("run.record");
  ASSERT_EQ(Run(" /LOG", replay, {{"WARRENFOLD_RECORD", recording}}).status, 0);
  const std::string recorded = ReadText(recording);
  for (const char *line : {"seed 11\n", "20 down Down\n", "23 up Down\n",
                           "31 pad axis 0 0 1000\n", "65 quit\n"})
    EXPECT_NE(recorded.find(line), std::string::npos) << recorded;
  const auto shots = FilesLike(userDir, "Warrenfold ", ".bmp");
  ASSERT_EQ(shots.size(), 1u);
  const std::string name = fs::path(shots[0]).filename().string();
  EXPECT_TRUE(std::regex_match(
      name, std::regex(R"(Warrenfold \d\d-\d\d-\d{4} \d\d-\d\d-\d\d\.bmp)")))
      << name;
  const Shot first = TakenShot(userDir);
  EXPECT_EQ(first.bmp.substr(0, 2), "BM");
  EXPECT_EQ(first.Width(), 1024);
  EXPECT_EQ(first.Height(), 768);
  EXPECT_EQ(first.bmp[28], 24); // bits a pixel
  EXPECT_TRUE(Has(Log(userDir), "Saving screenshot:\t\tOK"));
  fs::remove(shots[0]);
  for (const auto &log : FilesLike(userDir, "Log ", ".log"))
    fs::remove(log);

  ASSERT_EQ(Run(" x /LOG", ReadText(recording)).status, 0);
  EXPECT_TRUE(TakenShot(userDir).bmp == first.bmp) << "same replay, same frame";
  ASSERT_EQ(Run(" /log", "1 quit\n").status, 0);
  EXPECT_TRUE(FilesLike(userDir, "Log ", ".log").empty());
  EXPECT_TRUE(FilesLike(gameDir, "Log ", ".log").empty());
}

TEST_F(Program, MalformedReplayStopsBeforeTheScreen) {
  const ProgramResult r = Run(" /LOG", "# ok\n0 down Esc\n3 jump\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("run.replay:3:"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(userDir + "Warrenfold.prefs"));
}

TEST_F(Program, FullScreenHeadlessAndAnImpossibleModeEndsWithoutSaving) {
  WriteText(gameDir + "Warrenfold.prefs", "[Settings]\nGameScreen = 0\n");
  ASSERT_EQ(Run(" /LOG", "5 quit\n").status, 0);
  auto lines = Log(gameDir);
  EXPECT_TRUE(Has(lines, "Opening screen (Fullscreen):\t\tOK"));
  EXPECT_TRUE(Has(lines, "Screenwidth:\t\t1024"));

  for (const auto &log : FilesLike(gameDir, "Log ", ".log"))
    fs::remove(log);
  WriteText(gameDir + "Warrenfold.prefs", "[Settings]\nGameScreen = 7\n");
  const ProgramResult r = Run(" /LOG", "5 quit\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Warrenfold::"), std::string::npos) << r.err;
  EXPECT_EQ(ReadText(gameDir + "Warrenfold.prefs"),
            "[Settings]\nGameScreen = 7\n");
  EXPECT_FALSE(Has(Log(gameDir), "Opening screen (Fullscreen):\t\tOK"));
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
  const ProgramResult r = Run("", "5 quit\n");
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
