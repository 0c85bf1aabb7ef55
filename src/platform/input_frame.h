// input_frame.h — one frame's input, taken once per pass from the keyboard
// and the configured gamepad (or from the scripted input of a replay). The
// game's logic reads only this, so tests can hand it any input they like.
#pragma once

#include <array>
#include <cstdint>

#include "platform/input.h"

struct InputFrame {
  std::array<bool, 256> held{};     // by scan code: down in this frame
  std::array<bool, 256> released{}; // up now, down in the frame before
  int gamepads = 0;                 // gamepads present now
  bool padRead = false;             // the configured gamepad gave a snapshot
  int padX = 0, padY = 0;           // its direction control: -1, 0 or 1
  bool padButton = false;           // its confirm button is held

  bool Held(plat::Key k) const { return held[static_cast<uint8_t>(k)]; }
  bool Released(plat::Key k) const { return released[static_cast<uint8_t>(k)]; }
};

// Takes the keyboard snapshot and reads gamepad `pad`: `stick` for the
// direction, `button` (from 1) for confirming.
InputFrame TakeInputFrame(int pad, int stick, int button);
