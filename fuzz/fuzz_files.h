// fuzz_files.h — a scratch folder per fuzzing process, for readers that
// only take a path: each input is written there under the file name the
// game looks for.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzzfiles {

// The folder with a trailing separator; in memory-backed /dev/shm where it
// exists, so that a long run does not wear a disk. Removed at exit.
inline std::string FolderPath() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path base = fs::is_directory("/dev/shm", ec)
                            ? fs::path("/dev/shm")
                            : fs::temp_directory_path();
  return (base / ("wf-fuzz-" + std::to_string(static_cast<long>(getpid()))))
      .string();
}

inline const std::string &Folder() {
  static const std::string folder = [] {
    std::error_code ec;
    std::filesystem::create_directories(FolderPath(), ec);
    // The handler finds the folder again: the static string may already be
    // gone when it runs.
    std::atexit([] {
      std::error_code e;
      std::filesystem::remove_all(FolderPath(), e);
    });
    return FolderPath() + "/";
  }();
  return folder;
}

// Replaces folder + name with the bytes; false when it cannot.
inline bool Put(const std::string &name, const uint8_t *data, size_t size) {
  const std::string path = Folder() + name;
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (!f)
    return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

} // namespace fuzzfiles
