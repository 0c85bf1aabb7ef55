// events.cpp — draining SDL's event queue into the game's window events,
// keeping gamepads current on hot-plug, and the screen-active query.
#include "platform/core.h"
#include "platform/display.h"
#include "platform/internal.h"

namespace plat {

using detail::State;

namespace {

// Enough for any burst between two frames; older ones are dropped first.
constexpr size_t kMaxQueuedEvents = 64;

void Queue(WindowEvent e) {
  std::deque<WindowEvent> &q = State().display.events;
  // A close arriving as the window's close and then as the quit that SDL
  // makes of it is one request.
  if (e == WindowEvent::Close && !q.empty() && q.back() == WindowEvent::Close)
    return;
  if (q.size() >= kMaxQueuedEvents) {
    for (auto it = q.begin(); it != q.end(); ++it)
      if (*it != WindowEvent::Close) {
        q.erase(it);
        break;
      }
    if (q.size() >= kMaxQueuedEvents)
      return;
  }
  q.push_back(e);
}

WindowEvent Translate(const SDL_WindowEvent &w) {
  switch (w.event) {
  case SDL_WINDOWEVENT_FOCUS_GAINED:
    return WindowEvent::Activated;
  case SDL_WINDOWEVENT_MINIMIZED:
    return WindowEvent::Minimised;
  case SDL_WINDOWEVENT_RESTORED:
    return WindowEvent::Restored;
  case SDL_WINDOWEVENT_FOCUS_LOST:
    return WindowEvent::Deactivated;
  case SDL_WINDOWEVENT_EXPOSED:
    return WindowEvent::Repaint;
  case SDL_WINDOWEVENT_CLOSE:
    return WindowEvent::Close;
  default:
    return WindowEvent::None;
  }
}

} // namespace

namespace detail {

void QueueWindowEvent(WindowEvent w) {
  if (w == WindowEvent::Deactivated || w == WindowEvent::Minimised)
    State().display.switchedAway = true;
  if (w == WindowEvent::Activated || w == WindowEvent::Restored)
    State().display.switchedAway = false;
  if (w != WindowEvent::None)
    Queue(w);
}

void ServiceEvents() {
  if (!State().initialised)
    return;
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
    case SDL_QUIT:
      Queue(WindowEvent::Close);
      break;
    case SDL_WINDOWEVENT:
      QueueWindowEvent(Translate(e.window));
      break;
    case SDL_CONTROLLERDEVICEADDED:
      PadAdded(e.cdevice.which);
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      PadRemoved(e.cdevice.which);
      break;
    default:
      break;
    }
  }
}

} // namespace detail

WindowEvent PollWindowEvent() {
  detail::PlatformState &st = State();
  if (st.input.quitInjected) {
    st.input.quitInjected = false;
    return WindowEvent::Close;
  }
  detail::ServiceEvents();
  std::deque<WindowEvent> &q = st.display.events;
  if (q.empty())
    return WindowEvent::None;
  WindowEvent e = q.front();
  q.pop_front();
  return e;
}

bool ScreenActive() {
  // SDL's headless drivers never give a window input focus.
  if (HeadlessVideo())
    return true;
  detail::DisplayState &d = State().display;
  if (!d.window)
    return false;
  const Uint32 flags = SDL_GetWindowFlags(d.window.get());
  if (flags & SDL_WINDOW_MINIMIZED)
    return false;
  if (!d.fullScreen)
    return (flags & SDL_WINDOW_INPUT_FOCUS) != 0;
  // Full screen counts as active until it is switched away from: without
  // a window manager it may never be given the input focus at all.
  detail::ServiceEvents();
  return !d.switchedAway;
}

} // namespace plat
