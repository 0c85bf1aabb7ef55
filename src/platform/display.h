// display.h — the screen and its window, window events and the frame
// clock that paces every pass.
#pragma once

#include "platform/core.h"

#include <string>

namespace plat {

enum class WindowStyle { Windowed, Borderless };

enum class WindowEvent {
  None,
  Activated,
  Minimised,
  Restored,
  Deactivated,
  Repaint,
  Close
};

// Exclusive full screen of exactly w x h; synchronised flipping.
bool OpenFullScreen(int w, int h, const std::string &title);
// Window number 0: w x h client pixels, centred on desktop 0, hidden.
// Windowed: title bar, system menu, minimise button, no resize/maximise.
// Borderless: no frame at all.
bool OpenWindow(int w, int h, const std::string &title, WindowStyle style);
// Drawing surface filling window 0's client area; synchronised flipping.
bool OpenScreenInWindow();
bool ScreenOpen();
// Keeps a screen's worth of memory ready, faulted in on a helper thread,
// for each screen-sized picture made later (the map's cache, a dialog's
// backdrop), so that making one does not stall a frame. Call once loading
// is done.
void PrepareScreenMemory();
// Closing the screen frees every sprite (they belong to the screen).
void CloseScreen();
void CloseWindow();
void ShowWindow();
void ActivateWindow();
void MinimiseWindow();
void ShowCursor(bool on);

// One pending window event or None; never blocks. Also services the other
// pending events (keyboard, gamepad hot-plug). A quit request (window close,
// SIGINT, SIGTERM, replayed "quit") comes back as Close in every mode.
WindowEvent PollWindowEvent();
// Windowed: the window has input focus. Full screen: not switched away.
// Always true on a headless video driver.
bool ScreenActive();

void SetFrameRate(int fps);
// Presents the drawn frame and returns no sooner than the frame rate allows
// (paced on the performance counter, not on the display's refresh).
// WARRENFOLD_UNPACED=1 skips the waiting.
void Flip();
void ClearScreen(Colour c);
int ScreenWidth();
int ScreenHeight();

int DesktopCount();
// Size of desktop 0's current mode in real pixels (HiDPI included).
void DesktopSize(int &w, int &h);

} // namespace plat
