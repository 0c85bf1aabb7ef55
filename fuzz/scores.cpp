// scores.cpp — fuzz target: the scores file on arbitrary bytes, each slot
// turned into a level as the game does, and the slots written back and
// read again unchanged.
#include "progress/scores.h"
#include "fuzz_files.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (!fuzzfiles::Put(kScoresFile, data, size))
    return 0;
  Progress progress;
  if (!LoadScores(progress, fuzzfiles::Folder()))
    return 0;
  for (const std::string &slot : progress.slots)
    for (int count : {0, 1, 25, 9999}) {
      const int index = SlotLevelIndex(slot, count);
      if (index < 0 || (count > 0 && index >= count))
        __builtin_trap();
    }
  // A first slot that itself begins with a byte-order mark cannot come
  // back: the reader drops one mark from the start of the file.
  if (progress.slots[0].rfind("\xEF\xBB\xBF", 0) == 0)
    return 0;
  const std::vector<uint8_t> saved = ScoresBytes(progress);
  if (!fuzzfiles::Put(kScoresFile, saved.data(), saved.size()))
    return 0;
  Progress again;
  if (!LoadScores(again, fuzzfiles::Folder()) || again.slots != progress.slots)
    __builtin_trap();
  return 0;
}
