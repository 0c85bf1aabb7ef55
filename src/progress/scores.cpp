// scores.cpp — reading and writing the level slots.
#include "progress/scores.h"

#include <cstdint>

#include "platform/platform.h"

namespace {
// Five short lines; anything larger is not a scores file.
constexpr size_t kMaxScoresFile = 1024 * 1024;
} // namespace

bool LoadScores(Progress &progress, const std::string &folder) {
  std::vector<uint8_t> bytes;
  if (!plat::ReadFileChecked(folder + kScoresFile, kMaxScoresFile, bytes))
    return false;
  size_t pos = 0;
  // A byte-order mark from an editor is not part of the first slot.
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB &&
      bytes[2] == 0xBF)
    pos = 3;
  for (std::string &slot : progress.slots) {
    slot.clear();
    // CR, LF, CR LF and NUL each end a line.
    while (pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n' &&
           bytes[pos] != 0)
      slot.push_back(static_cast<char>(bytes[pos++]));
    if (pos < bytes.size() && bytes[pos] == '\r')
      ++pos;
    if (pos < bytes.size() && (bytes[pos] == '\n' || bytes[pos] == 0))
      ++pos;
  }
  return true;
}

std::vector<uint8_t> ScoresBytes(const Progress &progress) {
  std::string text;
  for (const std::string &slot : progress.slots)
    text += slot + "\r\n";
  return std::vector<uint8_t>(text.begin(), text.end());
}

bool SaveScores(const Progress &progress, const std::string &folder) {
  return plat::WriteFileAtomic(folder + kScoresFile, ScoresBytes(progress));
}

int SlotLevelIndex(const std::string &slot, int levelCount) {
  if (slot.empty() || slot.size() > 4)
    return 0;
  int n = 0;
  for (char c : slot) {
    if (c < '0' || c > '9')
      return 0;
    n = n * 10 + (c - '0');
  }
  return n >= 1 && n <= levelCount ? n - 1 : 0;
}
