// copied_game.h — a test fixture with its own copy of the game (the binary
// copied, the forged archives linked beside it), played headless and
// unpaced by a replay and started through bash so that a hang is cut short
// by a kill (a status other than 0 or 1); and what a run leaves behind:
// its log and its screenshot.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/sanitizer.h"
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

// The files in a folder whose names start with prefix and end with suffix.
inline std::vector<std::string> FilesLike(const std::string &folder,
                                          const std::string &prefix,
                                          const std::string &suffix) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto &e : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = e.path().filename().string();
    if (name.rfind(prefix, 0) == 0 && name.size() >= suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
      out.push_back(e.path().string());
  }
  return out;
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
  std::string gameDir, xdg, userDir; // folders end in "/", but xdg

  void SetUp() override {
    namespace fs = std::filesystem;
    gameDir = root.Folder() + "game/";
    xdg = root.Folder() + "xdg";
    userDir = xdg + "/Duskmoth/Warrenfold/";
    fs::create_directories(gameDir);
    fs::create_directories(root.Folder() + "home");
    const std::string from = WARRENFOLD_GAME_DIR;
    fs::copy_file(from + "warrenfold", gameDir + "warrenfold");
    for (const char *name :
         {"Warrenfold.data", "Warrenfold.maps", "Warrenfold.languages"})
      if (fs::exists(from + name))
        fs::create_symlink(from + name, gameDir + name);
  }

  // SDL's headless drivers, unpaced, input from the replay file, the
  // copy's own per-user folder and home, and a fixed locale.
  std::map<std::string, std::string> Env(const std::string &replayFile) {
    return {{"SDL_VIDEODRIVER", "dummy"},
            {"SDL_RENDER_DRIVER", "software"},
            {"SDL_AUDIODRIVER", "dummy"},
            {"WARRENFOLD_UNPACED", "1"},
            {"WARRENFOLD_REPLAY", replayFile},
            {"XDG_DATA_HOME", xdg},
            {"HOME", root.Folder() + "home"},
            {"LANG", "en_GB.UTF-8"},
            {"LC_ALL", ""},
            {"LC_MESSAGES", ""}};
  }

  // Plays the replay text (as "run.replay"); `args` go after the game's
  // path, `shell` before its start (a limit), `env` over Env.
  ProgramResult RunReplay(const std::string &replayText, int seconds = 120,
                          const std::string &args = "",
                          const std::string &shell = "",
                          const std::map<std::string, std::string> &env = {}) {
    const std::string replay = root.File("run.replay");
    WriteText(replay, replayText);
    std::map<std::string, std::string> all = Env(replay);
    for (const auto &[k, v] : env)
      all[k] = v;
    return RunProgram("/bin/bash",
                      {"-c",
                       shell + "exec timeout -s KILL " +
                           std::to_string(seconds) + " \"$0\"" + args,
                       gameDir + "warrenfold"},
                      all, root.File("stderr"));
  }

  // The lines of the one run log in the folder, each ended by CR LF.
  std::vector<std::string> Log(const std::string &folder) {
    const auto logs = FilesLike(folder, "Log ", ".log");
    EXPECT_EQ(logs.size(), 1u) << folder;
    std::vector<std::string> lines;
    const std::string text = logs.size() == 1 ? ReadText(logs[0]) : "";
    for (size_t pos = 0, end; pos < text.size(); pos = end + 2) {
      end = text.find("\r\n", pos);
      lines.push_back(text.substr(pos, end - pos));
      if (end == std::string::npos ||
          lines.back().find_first_of("\r\n") != std::string::npos) {
        ADD_FAILURE() << "not a CR LF line: " << lines.back();
        break;
      }
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
