// input_frame.cpp — filling a frame's input from the platform.
#include "platform/input_frame.h"
#include "platform/input.h"

namespace {

constexpr plat::Key kKeys[] = {
    plat::Key::Esc,   plat::Key::W,           plat::Key::Return,
    plat::Key::A,     plat::Key::S,           plat::Key::D,
    plat::Key::N,     plat::Key::M,           plat::Key::Space,
    plat::Key::F1,    plat::Key::KeypadEnter, plat::Key::Up,
    plat::Key::Left,  plat::Key::Right,       plat::Key::Down,
    plat::Key::Delete};

} // namespace

InputFrame TakeInputFrame(int pad, int stick, int button) {
  InputFrame in;
  plat::KeyboardSnapshot();
  for (plat::Key k : kKeys) {
    const auto i = static_cast<uint8_t>(k);
    in.held[i] = plat::KeyHeld(k);
    in.released[i] = plat::KeyReleased(k);
  }
  in.gamepads = plat::FindGamepads();
  if (in.gamepads > 0 && plat::GamepadSnapshot(pad)) {
    in.padRead = true;
    in.padX = plat::GamepadAxisX(pad, stick);
    in.padY = plat::GamepadAxisY(pad, stick);
    in.padButton = plat::GamepadButton(pad, button);
  }
  return in;
}
