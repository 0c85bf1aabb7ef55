// scores.cpp — reading and writing the level slots.
#include "progress/scores.h"

#include <cstdint>

#include "platform/files.h"

namespace {
// Five short lines; anything larger is not a scores file.
constexpr size_t kMaxScoresFile = 1024 * 1024;
} // namespace

namespace {

// Five lines into the slots; a missing line reads as empty text.
void ReadSlots(const std::vector<uint8_t> &bytes, Slots &slots) {
  size_t pos = 0;
  // A byte-order mark from an editor is not part of the first slot.
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB &&
      bytes[2] == 0xBF)
    pos = 3;
  for (std::string &slot : slots) {
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
}

} // namespace

bool LoadScores(Progress &progress, const std::string &folder) {
  std::vector<uint8_t> bytes;
  if (!plat::ReadFileChecked(folder + kScoresFile, kMaxScoresFile, bytes))
    return false;
  ReadSlots(bytes, progress.slots);
  progress.synced = progress.slots;
  return true;
}

std::vector<uint8_t> ScoresBytes(const Slots &slots) {
  std::string text;
  for (const std::string &slot : slots)
    text += slot + "\r\n";
  return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> ScoresBytes(const Progress &progress) {
  return ScoresBytes(progress.slots);
}

bool SaveScores(Progress &progress, const std::string &folder) {
  const bool saved =
      plat::UpdateFileAtomic(folder + kScoresFile, kMaxScoresFile,
                             [&progress](const std::vector<uint8_t> *current) {
                               // Only the slots this copy changed since it last
                               // read or wrote the file: another copy's changes
                               // on disk stay.
                               Slots out = progress.slots;
                               if (current != nullptr) {
                                 Slots disk;
                                 ReadSlots(*current, disk);
                                 for (size_t i = 0; i < out.size(); ++i)
                                   if (progress.slots[i] == progress.synced[i])
                                     out[i] = disk[i];
                               }
                               return ScoresBytes(out);
                             });
  if (saved)
    progress.synced = progress.slots;
  return saved;
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
