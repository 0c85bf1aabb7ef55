// scripted.cpp — scripted input: while on, injected keys and one injected
// gamepad replace the real devices (replays and tests).
#include "platform/input.h"
#include "platform/internal.h"
#include "platform/scripted_input.h"

#include <algorithm>

namespace plat {

using detail::State;

void ScriptedInput(bool on) {
  detail::InputState &in = State().input;
  if (in.scripted == on)
    return;
  in.scripted = on;
  // A fresh start, so that switching sources does not look like releases.
  in.down.fill(false);
  in.previous.fill(false);
  in.released.fill(false);
  in.scriptedSnap = detail::PadSnapshot{};
}

bool ScriptedInputActive() { return State().input.scripted; }

void InjectKey(Key k, bool down) {
  State().input.injectedKeys[static_cast<uint8_t>(k)] = down;
}

void InjectPadConnected(bool connected) {
  detail::InputState &in = State().input;
  in.injectedPad = connected;
  if (!connected)
    in.injected = detail::PadSnapshot{};
}

void InjectPadAxis(int stick, int x, int y) {
  if (stick < 0 || stick >= detail::kPadSticks)
    return;
  detail::PadSnapshot &p = State().input.injected;
  p.axis[stick][0] = std::clamp(x, -1000, 1000);
  p.axis[stick][1] = std::clamp(y, -1000, 1000);
}

void InjectPadButton(int button, bool down) {
  if (button < 1 || button > detail::kPadButtons)
    return;
  State().input.injected.button[button] = down;
}

void InjectQuit() { State().input.quitInjected = true; }

void InjectWindowEvent(WindowEvent e) { detail::QueueWindowEvent(e); }

} // namespace plat
