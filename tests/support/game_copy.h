// game_copy.h — the game binary copied into a test's own folder with the
// forged archives linked beside it, and the environment of a headless,
// unpaced run driven by a replay.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

struct GameCopy {
  std::string gameDir; // holds "warrenfold" and the archives, ends in "/"
  std::string xdg;     // XDG_DATA_HOME of the runs
  std::string userDir; // the per-user folder inside it, ends in "/"
  std::string home;    // HOME of the runs
};

// Copies the game into root + "game/"; root ends with "/".
inline GameCopy MakeGameCopy(const std::string &root) {
  namespace fs = std::filesystem;
  GameCopy g;
  g.gameDir = root + "game/";
  g.xdg = root + "xdg";
  g.userDir = g.xdg + "/Duskmoth/Warrenfold/";
  g.home = root + "home";
  fs::create_directories(g.gameDir);
  fs::create_directories(g.home);
  const std::string from = WARRENFOLD_GAME_DIR;
  fs::copy_file(from + "warrenfold", g.gameDir + "warrenfold");
  for (const char *name :
       {"Warrenfold.data", "Warrenfold.maps", "Warrenfold.languages"})
    if (fs::exists(from + name))
      fs::create_symlink(from + name, g.gameDir + name);
  return g;
}

// SDL's headless drivers, unpaced, input from the replay file, the copy's
// own per-user folder and home, and a fixed locale.
inline std::map<std::string, std::string>
HeadlessEnv(const GameCopy &g, const std::string &replayFile) {
  return {{"SDL_VIDEODRIVER", "dummy"},
          {"SDL_RENDER_DRIVER", "software"},
          {"SDL_AUDIODRIVER", "dummy"},
          {"WARRENFOLD_UNPACED", "1"},
          {"WARRENFOLD_REPLAY", replayFile},
          {"XDG_DATA_HOME", g.xdg},
          {"HOME", g.home},
          {"LANG", "en_GB.UTF-8"},
          {"LC_ALL", ""},
          {"LC_MESSAGES", ""}};
}
