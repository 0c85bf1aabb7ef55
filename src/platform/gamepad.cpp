// gamepad.cpp — gamepads on SDL's game-controller API: finding them (also
// after hot-plugging), the per-frame snapshot and the digital stick reading.
//
// Button numbers, from 1: 1 A, 2 B, 3 X, 4 Y, 5 back, 6 guide, 7 start,
// 8 left stick, 9 right stick, 10 left shoulder, 11 right shoulder,
// 12 d-pad up, 13 d-pad down, 14 d-pad left, 15 d-pad right.
// Sticks: 0 left stick, 1 right stick, 2 the d-pad read as a stick.
#include "platform/input.h"
#include "platform/internal.h"

#include <algorithm>

namespace plat {

using detail::Pad;
using detail::PadSnapshot;
using detail::State;

namespace {

bool EnsurePads() {
  detail::InputState &in = State().input;
  if (in.padsUp)
    return true;
  // SDL drops pad input while no window has focus, which on a headless
  // driver is always; the game itself reads no pad while inactive.
  SDL_SetHintWithPriority(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1",
                          SDL_HINT_DEFAULT);
  if (!State().initialised)
    return false;
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    detail::ReportFailure("SDL_InitSubSystem(game controller)");
    return false;
  }
  in.padsUp = true;
  return true;
}

bool IsOpen(SDL_JoystickID id) {
  for (const Pad &p : State().input.pads)
    if (p.id == id)
      return true;
  return false;
}

// SDL's -32768..32767 on the game's -1000..1000.
int Scale(Sint16 v) {
  return v >= 0 ? int(v) * 1000 / 32767 : int(v) * 1000 / 32768;
}

int Digital(int raw) { return raw <= -500 ? -1 : raw >= 500 ? 1 : 0; }

const PadSnapshot *Snapshot(int pad) {
  detail::InputState &in = State().input;
  if (in.scripted)
    return pad == 0 && in.injectedPad && in.scriptedSnap.valid
               ? &in.scriptedSnap
               : nullptr;
  if (pad < 0 || pad >= int(in.pads.size()) || !in.pads[pad].snap.valid)
    return nullptr;
  return &in.pads[pad].snap;
}

} // namespace

namespace detail {

void PadAdded(int deviceIndex) {
  if (!State().input.padsUp || !SDL_IsGameController(deviceIndex))
    return;
  SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  if (id < 0 || IsOpen(id))
    return;
  detail::ControllerPtr c(SDL_GameControllerOpen(deviceIndex));
  if (!c) {
    ReportFailure("SDL_GameControllerOpen");
    return;
  }
  State().input.pads.push_back(Pad{std::move(c), id, {}});
}

void PadRemoved(SDL_JoystickID id) {
  std::vector<Pad> &pads = State().input.pads;
  for (auto it = pads.begin(); it != pads.end(); ++it)
    if (it->id == id) {
      pads.erase(it); // closes it
      return;
    }
}

void ClosePads() {
  detail::InputState &in = State().input;
  in.pads.clear(); // closes them
  if (in.padsUp)
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  in.padsUp = false;
}

} // namespace detail

int FindGamepads() {
  detail::InputState &in = State().input;
  if (in.scripted)
    return in.injectedPad ? 1 : 0;
  if (!EnsurePads())
    return 0;
  detail::ServiceEvents();
  SDL_GameControllerUpdate();
  // Drop pads that went away, open any that came.
  for (size_t i = 0; i < in.pads.size();) {
    if (!SDL_GameControllerGetAttached(in.pads[i].controller.get())) {
      in.pads.erase(in.pads.begin() + long(i)); // closes it
    } else {
      ++i;
    }
  }
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    detail::PadAdded(i);
  return int(in.pads.size());
}

bool GamepadSnapshot(int pad) {
  detail::InputState &in = State().input;
  if (in.scripted) {
    in.scriptedSnap = in.injected;
    in.scriptedSnap.valid = pad == 0 && in.injectedPad;
    return in.scriptedSnap.valid;
  }
  if (pad < 0 || pad >= int(in.pads.size()))
    return false;
  Pad &p = in.pads[pad];
  SDL_GameControllerUpdate();
  if (!SDL_GameControllerGetAttached(p.controller.get())) {
    p.snap = PadSnapshot{};
    return false;
  }
  SDL_GameController *c = p.controller.get();
  PadSnapshot s;
  s.axis[0][0] = Scale(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX));
  s.axis[0][1] = Scale(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
  s.axis[1][0] =
      Scale(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_RIGHTX));
  s.axis[1][1] =
      Scale(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_RIGHTY));
  for (int b = 1; b <= detail::kPadButtons; ++b)
    s.button[b] = SDL_GameControllerGetButton(
                      c, static_cast<SDL_GameControllerButton>(b - 1)) != 0;
  // The d-pad as a third stick, fully deflected while pressed.
  s.axis[2][0] = (s.button[15] ? 1000 : 0) - (s.button[14] ? 1000 : 0);
  s.axis[2][1] = (s.button[13] ? 1000 : 0) - (s.button[12] ? 1000 : 0);
  s.valid = true;
  p.snap = s;
  return true;
}

int GamepadAxisX(int pad, int stick) {
  const PadSnapshot *s = Snapshot(pad);
  if (!s || stick < 0 || stick >= detail::kPadSticks)
    return 0;
  return Digital(s->axis[stick][0]);
}

int GamepadAxisY(int pad, int stick) {
  const PadSnapshot *s = Snapshot(pad);
  if (!s || stick < 0 || stick >= detail::kPadSticks)
    return 0;
  return Digital(s->axis[stick][1]);
}

bool GamepadButton(int pad, int button) {
  const PadSnapshot *s = Snapshot(pad);
  if (!s || button < 1 || button > detail::kPadButtons)
    return false;
  return s->button[button];
}

} // namespace plat
