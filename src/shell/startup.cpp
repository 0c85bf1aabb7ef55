// startup.cpp — the start-up sequence, the run log's opening sections and
// the orderly exit.
#include "shell/startup.h"

#include <cstdio>
#include <exception>
#include <memory>

#include "assets/catalogue.h"
#include "game/levels.h"
#include "platform/clock.h"
#include "platform/core.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "platform/sprites.h"
#include "platform/system.h"
#include "platform/text.h"
#include "shell/game.h"
#include "shell/loop.h"
#include "shell/replay.h"

namespace {

void WriteHeader(Game &game, const std::string &stamp) {
  RunLog &log = game.log;
  auto value = [&log](const char *key, const std::string &v) {
    WriteLogValue(log, key, v);
  };
  const plat::SystemInfo info = plat::GetSystemInfo();
  WriteLog(log, stamp);
  WriteLog(log, "");
  WriteLog(log, "[SYSTEM DETAILS]");
  value("CPU Name:", info.cpuName);
  value("Total CPU cores:", std::to_string(info.totalCores));
  value("Available CPU cores:", std::to_string(info.availableCores));
  value("Total physical memory:", std::to_string(info.totalMemory));
  value("Free physical memory:", std::to_string(info.freeMemory));
  value("Number of desktops:", std::to_string(info.displays));
  value("Operating system:", std::to_string(info.osNumber));
  WriteLog(log, "");
  WriteLog(log, "[GAME DETAILS]");
  value("Title:", "Warrenfold");
  value("Family:", "Solvane");
  value("Version:", "1.0.0.3");
  value("Directory:", "Duskmoth/Warrenfold");
  value("Bit:", "(x86)");
  WriteLog(log, "");
  WriteLog(log, "[CODE SUBSYSTEMS]");
  value("Language:", "2.0");
  value("Log:", "1.2");
  WriteLog(log, "");
  WriteLog(log, "[PATHS]");
  value("GameDir:", game.paths.gameDir);
  value("UserDir:", game.paths.userDir);
  value("SaveTo:", game.paths.saveTo);
  WriteLog(log, "");
  WriteLog(log, "[INITIAL SETTINGS]");
  value("Language:", game.settings.language);
}

void InitOrDie(Game &game, bool ok, const char *key, const char *suffix) {
  WriteLogValue(game.log, key, ok ? "OK" : "FAILED");
  if (!ok)
    ShowFatalError(game, Text(game.lang, "tErrorSUBSYSTEM") + suffix);
}

// The three folders, and the preferences from the first that has them.
void FindFoldersAndPreferences(Game &game) {
  Settings &s = game.settings;
  Paths &paths = game.paths;
  // Tests set the game folder beforehand; the game uses its own folder.
  if (paths.gameDir.empty())
    paths.gameDir = plat::ProgramFolder();
  // Without it the archives cannot be found, and the current folder is
  // not a place to look for them or to save in.
  if (paths.gameDir.empty()) {
    std::fprintf(stderr, "Warrenfold: the game's own folder cannot be found\n");
    ShowFatalError(game, Text(game.lang, "tErrorASSET"));
  }
  paths.userDir = plat::UserDataFolder("Duskmoth/Warrenfold");
  paths.saveTo = paths.gameDir;

  game.prefsFromGameDir = LoadPreferences(s, paths.gameDir);
  if (!game.prefsFromGameDir) {
    if (!paths.userDir.empty() && plat::FileSize(paths.userDir) != -2)
      CreatePath(paths.userDir);
    LoadPreferences(s, paths.userDir);
    paths.saveTo = paths.userDir;
  }
  // What the file held: the settings this copy changes from here on are
  // the ones its save applies.
  game.settingsSynced = s;
  if (!game.prefsFromGameDir) {
    if (s.language.empty())
      s.language = plat::SystemLocaleName();
    if (s.language.empty())
      s.language = "en_GB";
  }
}

// "/LOG" as the first parameter: the run log with its opening sections.
void OpenRunLog(Game &game, const std::vector<std::string> &args) {
  if (!args.empty()) {
    const std::string stamp =
        plat::FormatDate(plat::Now(), "%yyyy-%mm-%dd--%hh-%ii-%ss");
    if (args[0] == "/LOG") {
      if (OpenLog(game.log, game.paths.saveTo + "Log " + stamp + ".log",
                  "Warrenfold"))
        EnableLog(game.log);
      WriteHeader(game, stamp);
    }
  }
  const Settings &s = game.settings;
  const std::string mode = ScreenModeName(s.gameScreen);
  if (!mode.empty())
    WriteLogValue(game.log, "GameScreen:", mode);
  WriteLogValue(game.log, "Music:", MusicOn(s) ? "On" : "Off");
  WriteLogValue(game.log, "ScreenMode:", std::to_string(s.resolution));
}

// The language files found, and the chosen one loaded (British English
// when there is no file for it).
void LoadLanguages(Game &game) {
  Settings &s = game.settings;
  const std::string source = LanguageSource(game.paths.gameDir);
  ScanLanguages(game.lang, source);
  WriteLog(game.log, "");
  WriteLog(game.log, "[AVAILABLE LANGUAGES]");
  for (const LanguageInfo *info : LanguageInfosInOrder(game.lang.infos))
    WriteLogValue(game.log, "Language:", info->name);
  WriteLog(game.log, "");
  WriteLog(game.log, "[STARTING GAME]");
  if (!HasLanguageFile(game.lang, s.language))
    s.language = "en_GB";
  const bool loaded = LoadLanguage(game.lang, source, s.language);
  WriteLogValue(game.log, "Load language (" + s.language + "):",
                loaded ? "OK" : "FAILED");
  FindLanguage(game.lang, s.language);
}

// Sprites, keyboard and sound, the sounds, the screen, the gamepads, and
// the screen's shape.
void OpenDevices(Game &game) {
  const Settings &s = game.settings;
  InitOrDie(game, plat::InitSprites(), "InitSprite:", "  : Sprite");
  InitOrDie(game, plat::InitKeyboard(), "InitKeyboard:", "  : Keyboard");
  InitOrDie(game, plat::InitSound(), "InitSound:", "  : Sound");

  Display &d = game.display;
  plat::DesktopSize(d.screenWidth, d.screenHeight);
  WriteLogValue(game.log, "ScreenWidth:", std::to_string(d.screenWidth));
  WriteLogValue(game.log, "ScreenHeight:", std::to_string(d.screenHeight));
  if (s.gameScreen == ScreenMode::Window)
    ChooseScreenSize(d, ScreenMode::Window, s.resolution);

  LoadSounds(game.paths.gameDir, game.log);

  if (!OpenGameScreen(d, s.gameScreen, game.log))
    ShowFatalError(game, Text(game.lang, "tErrorSCREEN"));

  game.loop.padCount = plat::FindGamepads();
  WriteLogValue(game.log, "Joystick:", std::to_string(game.loop.padCount));

  d.aspectRatio = ClassifyAspectRatio(d.screenWidth, d.screenHeight);
  WriteLogValue(game.log,
                "AspectRatio:", std::to_string(AspectNumber(d.aspectRatio)));
  d.geometry =
      ComputeScreenGeometry(d.screenWidth, d.screenHeight, d.aspectRatio);
}

} // namespace

void StartUp(Game &game, const std::vector<std::string> &args) {
  // Fonts shared by the drawing code: the map's and the dialogs'.
  plat::LoadFont(1, "Courier New", 10, false);
  game.loop.pending = MakePending(game.settings);
  game.display.resolutions = ResolutionList();
  plat::LoadFont(0, "Arial", 30, true);

  FindFoldersAndPreferences(game);
  OpenRunLog(game, args);
  LoadLanguages(game);
  OpenDevices(game);

  const std::string &gameDir = game.paths.gameDir;
  LoadMaps(game.maps, gameDir + kMapArchive);
  game.play.levels = BuiltInLevels();
  LoadScores(game.progress, game.paths.saveTo);
  LoadScreenAssets(game.assets, game.display, gameDir, game.log);
}

int RunGame(int argc, char **argv) {
  if (!plat::Init()) {
    std::fprintf(stderr, "Warrenfold: the platform services did not start\n");
    return 1;
  }
  // The state is large (the map grids): keep it off the stack.
  auto game = std::make_unique<Game>();
  if (!SetUpReplay(*game)) {
    plat::Shutdown();
    return 2;
  }
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  int status = 0;
  try {
    try {
      StartUp(*game, args);
      PrepareFirstFrame(*game);
      RunLoop(*game);
    } catch (const AssetFailure &) {
      FailOnAsset(*game);
    }
  } catch (const FatalExit &) {
    status = 1;
  }
  CloseRecording(*game);
  CloseLog(game->log);
  plat::Shutdown();
  return status;
}
