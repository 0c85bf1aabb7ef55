// replay.cpp — fuzz target: the replay parser on arbitrary text. What it
// accepts must hold what the input side relies on: passes that never go
// back, known keys, sticks, axes and buttons in range.
#include "shell/replay.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Replay replay;
  std::string error;
  const std::string text(reinterpret_cast<const char *>(data), size);
  if (!ParseReplay(text, "fuzz.replay", replay, error)) {
    if (error.rfind("fuzz.replay:", 0) != 0)
      __builtin_trap();
    return 0;
  }
  uint64_t last = 0;
  for (const ReplayEvent &e : replay.events) {
    if (e.pass < last)
      __builtin_trap();
    last = e.pass;
    switch (e.kind) {
    case ReplayKind::KeyDown:
    case ReplayKind::KeyUp:
      if (ReplayKeyName(e.key).empty())
        __builtin_trap();
      break;
    case ReplayKind::PadAxis:
      if (e.value < 0 || e.value > 2 || e.x < -1000 || e.x > 1000 ||
          e.y < -1000 || e.y > 1000)
        __builtin_trap();
      break;
    case ReplayKind::PadDown:
    case ReplayKind::PadUp:
      if (e.value < 1 || e.value > 15)
        __builtin_trap();
      break;
    default:
      break;
    }
  }
  return 0;
}
