// scripted_input.h — input from a script instead of the devices: while a
// script is active the real keyboard and gamepads are ignored and these
// calls are the only input. Replays and tests use it.
#pragma once

#include "platform/display.h"
#include "platform/input.h"

namespace plat {

void ScriptedInput(bool on);
bool ScriptedInputActive();
void InjectKey(Key k, bool down);
void InjectPadConnected(bool connected);
void InjectPadAxis(int stick, int x, int y); // raw -1000..1000
void InjectPadButton(int button, bool down);
void InjectQuit();
// A window event as the window system would send it (focus, minimise,
// restore, close): PollWindowEvent and ScreenActive see it.
void InjectWindowEvent(WindowEvent e);
// Raw state of the current snapshot, for recording a run.
bool RawKeyDown(Key k);

} // namespace plat
