// game_folder.h — the game of a benchmark, brought up in a folder of its
// own the way the program starts.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/core.h"
#include "shell/game.h"

namespace bench {

// A game reading from `dir`, or null (the folder removed, the reason on
// stderr) when the platform's services do not start.
inline std::unique_ptr<Game> GameInFolder(const std::string &dir) {
  if (!plat::Init()) {
    std::fprintf(stderr, "the platform services did not start\n");
    std::filesystem::remove_all(dir);
    return nullptr;
  }
  auto game = std::make_unique<Game>();
  game->paths.gameDir = dir;
  return game;
}

} // namespace bench
