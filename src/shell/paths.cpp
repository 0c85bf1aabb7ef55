// paths.cpp — folder helpers for the start-up.
#include "shell/paths.h"

#include "platform/files.h"

void CreatePath(std::string &path) {
  if (path.empty())
    return;
  if (path.back() != '/')
    path.push_back('/');
  if (plat::FileSize(path) == -2)
    return;
  for (size_t i = 1; i < path.size(); ++i) {
    if (path[i] != '/')
      continue;
    std::string prefix = path.substr(0, i + 1);
    if (plat::FileSize(prefix) != -2)
      plat::CreateFolder(prefix);
  }
}

std::string FolderOf(const std::string &path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
