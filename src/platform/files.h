// files.h — the program's and the player's folders, reading, replacing and
// listing files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace plat {

std::string ProgramPath();
std::string ProgramFolder(); // with a trailing "/"
// The per-user data folder (XDG data home) + sub + "/", or "" when there is
// none; nothing is created.
std::string UserDataFolder(const std::string &sub);
std::string HomeFolder(); // with a trailing "/", or ""
bool CreateFolder(const std::string &path);
// Size in bytes, -1 when missing, -2 when a folder.
int64_t FileSize(const std::string &path);
bool DeleteFile(const std::string &path);
// ReadFileChecked without a size limit.
bool ReadFile(const std::string &path, std::vector<uint8_t> &out);
// The whole of a regular file (links followed) of at most maxSize bytes.
// Anything else cannot be read: missing, a folder, a FIFO or device (never
// waited on), larger than maxSize, a read error; out is then empty.
bool ReadFileChecked(const std::string &path, size_t maxSize,
                     std::vector<uint8_t> &out);
// Replaces the file atomically (temporary file beside it, then rename): a
// failure leaves the old file as it was. A symbolic link that is the
// player's own (or root's) is followed and its target replaced; any other
// link is refused. Only a regular file is replaced, and none without a
// write bit in its mode (a player's read-only file, even for root). A new
// file gets 0666 less the umask; a replaced one keeps its permission bits,
// never set-id or sticky bits.
bool WriteFileAtomic(const std::string &path, const std::vector<uint8_t> &data);
// The same, with the new bytes made from the file's current ones (nullptr
// when it is missing, unreadable or larger than maxSize), read under the
// same lock that keeps a second copy of the game out until the rename.
bool UpdateFileAtomic(
    const std::string &path, size_t maxSize,
    const std::function<std::vector<uint8_t>(const std::vector<uint8_t> *)>
        &make);

struct DirEntry {
  std::string name;
  bool folder = false;
};
// Entries of a folder matching a "*.ext"-style pattern, in the order the
// folder yields them. False when the folder cannot be listed.
bool ScanFolder(const std::string &folder, const std::string &pattern,
                std::vector<DirEntry> &out);

} // namespace plat
