// game_fixture.h — a game brought up in this process on the headless
// drivers with the forged content, the way the start-up does it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>

#include "assets/catalogue.h"
#include "game/levels.h"
#include "platform/core.h"
#include "platform/input.h"
#include "platform/scripted_input.h"
#include "platform/sound.h"
#include "platform/sprites.h"
#include "shell/game.h"
#include "shell/loop.h"
#include "support/temp_dir.h"

class GameFixture : public ::testing::Test {
protected:
  std::unique_ptr<Game> game = std::make_unique<Game>();
  TempDir dir;
  size_t logRead = 0;

  void SetUp() override {
    ASSERT_TRUE(plat::Init());
    ASSERT_TRUE(plat::InitSprites());
    ASSERT_TRUE(plat::InitKeyboard());
    ASSERT_TRUE(plat::InitSound());
    plat::ScriptedInput(true);
    game->paths.gameDir = WARRENFOLD_GAME_DIR;
    game->paths.saveTo = dir.Folder();
    game->display.resolutions = ResolutionList();
    game->play.levels = BuiltInLevels();
    ASSERT_TRUE(OpenLog(game->log, dir.File("test.log"), "test"));
    EnableLog(game->log);
    NewLogLines();
  }
  void TearDown() override {
    CloseLog(game->log);
    plat::Shutdown();
  }

  // Opens the screen in the given mode and size and loads what the start
  // loads after it.
  bool Start(int mode, int resolution, bool assets = true) {
    const auto gameScreen = static_cast<ScreenMode>(mode);
    Settings &s = game->settings;
    s.gameScreen = gameScreen;
    s.resolution = resolution;
    ScanLanguages(game->lang, LanguageSource(game->paths.gameDir));
    s.language = "en_GB";
    LoadLanguage(game->lang, LanguageSource(game->paths.gameDir), "en_GB");
    Display &d = game->display;
    ChooseScreenSize(d, gameScreen, resolution);
    if (!OpenGameScreen(d, gameScreen, game->log))
      return false;
    d.aspectRatio = ClassifyAspectRatio(d.screenWidth, d.screenHeight);
    d.geometry =
        ComputeScreenGeometry(d.screenWidth, d.screenHeight, d.aspectRatio);
    try {
      LoadSounds(game->paths.gameDir, game->log);
      LoadMaps(game->maps, game->paths.gameDir + kMapArchive);
      if (assets) {
        LoadScreenAssets(game->assets, d, game->paths.gameDir, game->log);
        PrepareFirstFrame(*game);
      }
    } catch (const AssetFailure &) {
      return false;
    }
    NewLogLines();
    return true;
  }

  // The log lines written since the last call.
  std::vector<std::string> NewLogLines() {
    std::fflush(game->log.file.get());
    const std::string text = ReadText(dir.File("test.log"));
    std::vector<std::string> lines;
    size_t pos = logRead;
    while (pos < text.size()) {
      const size_t end = text.find("\r\n", pos);
      if (end == std::string::npos)
        break;
      lines.push_back(text.substr(pos, end - pos));
      pos = end + 2;
    }
    logRead = pos;
    return lines;
  }
};

// The same game unpaced from the start (the platform reads the switch when
// it starts): whole passes as fast as they run.
class UnpacedGame : public GameFixture {
protected:
  void SetUp() override {
    setenv("WARRENFOLD_UNPACED", "1", 1);
    GameFixture::SetUp();
  }
  void TearDown() override {
    unsetenv("WARRENFOLD_UNPACED");
    GameFixture::TearDown();
  }
};
