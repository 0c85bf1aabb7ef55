// paths.h — the game's three folders: where the archives lie, the per-user
// folder, and where preferences, scores, screenshots and the log go.
#pragma once

#include <string>

struct Paths {
  std::string gameDir; // the program's folder, with a trailing separator
  std::string userDir; // per-user data folder + "Duskmoth/Warrenfold/", or ""
  std::string saveTo;  // gameDir when it held the preferences, else userDir
};

// Makes sure the path ends with a separator and creates every missing
// folder along it, from the root outwards.
void CreatePath(std::string &path);
// The folder part of a file path, up to and including the last separator.
std::string FolderOf(const std::string &path);
