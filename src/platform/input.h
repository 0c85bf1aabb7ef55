// input.h — the keyboard and the gamepads, read as one snapshot a frame.
#pragma once

#include <cstdint>

namespace plat {

// Keys by the game's scan codes.

enum class Key : uint8_t {
  Esc = 0x01,
  W = 0x11,
  Return = 0x1C,
  A = 0x1E,
  S = 0x1F,
  D = 0x20,
  N = 0x31,
  M = 0x32,
  Space = 0x39,
  F1 = 0x3B,
  KeypadEnter = 0x9C,
  Up = 0xC8,
  Left = 0xCB,
  Right = 0xCD,
  Down = 0xD0,
  Delete = 0xD3,
};

bool InitKeyboard();
// One snapshot per frame. Held: down in this snapshot. Released: true in
// exactly one snapshot, the first in which the key is up after being down.
void KeyboardSnapshot();
bool KeyHeld(Key k);
bool KeyReleased(Key k);

// ---------------------------------------------------------------------------
// Gamepads (numbered from 0)

// Number of gamepads present now; may be called at any time.
int FindGamepads();
bool GamepadSnapshot(int pad);
// stick 0 left stick, 1 right stick, 2 direction pad. Raw -1000..1000:
// below -499 gives -1, 500 or more gives 1, else 0.
int GamepadAxisX(int pad, int stick);
int GamepadAxisY(int pad, int stick);
// Buttons numbered from 1; true while held.
bool GamepadButton(int pad, int button);

} // namespace plat
