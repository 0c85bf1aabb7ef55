// copied_game.h — a test fixture with its own copy of the game, started
// through bash so that a hang is cut short by a kill (a status other than
// 0 or 1).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/game_copy.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

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

  // Plays the replay text; `shell` goes before the game's start (a limit)
  // and `args` after its path.
  ProgramResult RunReplay(const std::string &replayText, int seconds,
                          const std::string &args = "",
                          const std::string &shell = "") {
    const std::string replay = root.File("quit.replay");
    WriteText(replay, replayText);
    return RunProgram("/bin/bash",
                      {"-c",
                       shell + "exec timeout -s KILL " +
                           std::to_string(seconds) + " \"$0\"" + args,
                       gameDir + "warrenfold"},
                      HeadlessEnv(copy, replay), root.File("stderr"));
  }
};
