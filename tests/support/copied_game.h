// copied_game.h — a test fixture with its own copy of the game, played
// headless by a replay and started through bash so that a hang is cut
// short by a kill (a status other than 0 or 1); and what a run leaves
// behind: its log and its screenshot.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "support/game_copy.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

// A key of the replay pressed on `pass` and released on the next.
inline std::string Press(int pass, const std::string &key) {
  return std::to_string(pass) + " down " + key + "\n" +
         std::to_string(pass + 1) + " up " + key + "\n";
}

inline bool Has(const std::vector<std::string> &lines,
                const std::string &line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A screenshot: a 24-bit BMP, rows bottom up, each padded to 4 bytes.
struct Shot {
  std::string bmp;
  int Le32(size_t at) const {
    int v = 0;
    for (int k = 3; k >= 0; --k)
      v = v * 256 + static_cast<unsigned char>(bmp[at + k]);
    return v;
  }
  int Width() const { return bmp.size() > 54 ? Le32(18) : 0; }
  int Height() const { return bmp.size() > 54 ? Le32(22) : 0; }
  // Red, green, blue; {-1, -1, -1} outside the picture.
  std::array<int, 3> At(int x, int y) const {
    const size_t stride = (static_cast<size_t>(Width()) * 3 + 3) / 4 * 4;
    const size_t i = 54 + static_cast<size_t>(Height() - 1 - y) * stride +
                     static_cast<size_t>(x) * 3;
    if (x < 0 || y < 0 || x >= Width() || y >= Height() || i + 2 >= bmp.size())
      return {-1, -1, -1};
    auto b = [&](size_t k) { return static_cast<unsigned char>(bmp[k]); };
    return {b(i + 2), b(i + 1), b(i)};
  }
};

class CopiedGame : public ::testing::Test {
protected:
  TempDir root;
  GameCopy copy;
  std::string gameDir, xdg, userDir;

  void SetUp() override {
    copy = MakeGameCopy(root.Folder());
    gameDir = copy.gameDir;
    xdg = copy.xdg;
    userDir = copy.userDir;
  }

  // Plays the replay text (as "run.replay"); `args` go after the game's
  // path, `shell` before its start (a limit), `env` over HeadlessEnv.
  ProgramResult RunReplay(const std::string &replayText, int seconds = 120,
                          const std::string &args = "",
                          const std::string &shell = "",
                          const std::map<std::string, std::string> &env = {}) {
    const std::string replay = root.File("run.replay");
    WriteText(replay, replayText);
    std::map<std::string, std::string> all = HeadlessEnv(copy, replay);
    for (const auto &[k, v] : env)
      all[k] = v;
    return RunProgram("/bin/bash",
                      {"-c",
                       shell + "exec timeout -s KILL " +
                           std::to_string(seconds) + " \"$0\"" + args,
                       gameDir + "warrenfold"},
                      all, root.File("stderr"));
  }

  // The lines of the one run log in the folder.
  std::vector<std::string> Log(const std::string &folder) {
    const auto logs = FilesLike(folder, "Log ", ".log");
    EXPECT_EQ(logs.size(), 1u) << folder;
    std::vector<std::string> lines;
    if (logs.size() == 1) {
      EXPECT_TRUE(LogLines(ReadText(logs[0]), lines)) << "CR LF line ends";
    }
    return lines;
  }

  // The one screenshot in the folder; empty when there is not just one.
  Shot TakenShot(const std::string &folder) {
    const auto shots = FilesLike(folder, "Warrenfold ", ".bmp");
    EXPECT_EQ(shots.size(), 1u) << folder;
    return Shot{shots.size() == 1 ? ReadText(shots[0]) : ""};
  }
};
