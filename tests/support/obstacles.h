// obstacles.h — what may stand where a player's file is expected: a folder,
// a FIFO (opening it would wait for a writer) or a link to an endless
// device.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>

constexpr const char *kObstacles[] = {"folder", "fifo", "zero"};

// Makes the obstacle of that kind at path; false when it could not.
inline bool MakeObstacle(const std::string &kind, const std::string &path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (kind == "folder")
    return fs::create_directory(path, ec);
  if (kind == "fifo")
    return mkfifo(path.c_str(), 0644) == 0;
  if (kind == "zero") {
    fs::create_symlink("/dev/zero", path, ec);
    return !ec;
  }
  return false;
}

// Whether the obstacle is still what it was: nothing replaced it.
inline bool StillObstacle(const std::string &kind, const std::string &path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status s = fs::symlink_status(path, ec);
  if (kind == "folder")
    return fs::is_directory(s);
  if (kind == "fifo")
    return fs::is_fifo(s);
  return kind == "zero" && fs::is_symlink(s) &&
         fs::read_symlink(path, ec) == "/dev/zero";
}
