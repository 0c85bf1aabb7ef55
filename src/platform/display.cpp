// display.cpp — the window, the screen (an SDL renderer) and its size.
#include "platform/display.h"
#include "platform/core.h"
#include "platform/images.h"
#include "platform/internal.h"

#include <cmath>
#include <cstring>

namespace plat {

using detail::State;

namespace {

// GL_RENDERER names a software rasteriser: SDL's own software renderer is
// several times faster than OpenGL on it.
bool OnSoftwareGl(SDL_Renderer *renderer) {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name)
    return false;
  if (std::strncmp(info.name, "opengl", 6) != 0)
    return false;
  using GetString = const unsigned char *(*)(unsigned);
  auto getString =
      reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (!getString)
    return false;
  constexpr unsigned kGlRenderer = 0x1F01;
  const char *name = reinterpret_cast<const char *>(getString(kGlRenderer));
  return name &&
         (std::strstr(name, "llvmpipe") || std::strstr(name, "softpipe"));
}

int SoftwareDriverIndex() {
  for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
    SDL_RendererInfo info;
    if (SDL_GetRenderDriverInfo(i, &info) == 0 && info.name &&
        std::strcmp(info.name, "software") == 0)
      return i;
  }
  return -1;
}

detail::RendererPtr CreateRenderer(SDL_Window *window, bool &software) {
  detail::RendererPtr renderer(
      SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC));
  if (!renderer)
    renderer.reset(SDL_CreateRenderer(window, -1, 0));
  if (!renderer) {
    detail::ReportFailure("SDL_CreateRenderer");
    return nullptr;
  }
  // A renderer chosen through SDL_RENDER_DRIVER stays whatever it is.
  if (!SDL_GetHint(SDL_HINT_RENDER_DRIVER) && OnSoftwareGl(renderer.get())) {
    int index = SoftwareDriverIndex();
    if (index >= 0) {
      renderer.reset();
      // Present the software frame straight to the window system, not
      // through another OpenGL texture (unless the user said otherwise).
      SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0",
                              SDL_HINT_DEFAULT);
      renderer.reset(SDL_CreateRenderer(window, index, SDL_RENDERER_SOFTWARE));
      if (!renderer)
        renderer.reset(
            SDL_CreateRenderer(window, -1, SDL_RENDERER_PRESENTVSYNC));
      if (!renderer) {
        detail::ReportFailure("SDL_CreateRenderer");
        return nullptr;
      }
    }
  }
  SDL_RendererInfo info;
  software = SDL_GetRendererInfo(renderer.get(), &info) == 0 && info.name &&
             std::strcmp(info.name, "software") == 0;
  return renderer;
}

bool StartScreen(int w, int h) {
  detail::DisplayState &d = State().display;
  bool software = false;
  d.renderer = CreateRenderer(d.window.get(), software);
  if (!d.renderer)
    return false;
  d.softwareRenderer = software;
  // The game draws in w x h pixels; where the surface has another size (a
  // full-screen mode that does not exist, a scaled desktop) it is stretched
  // to fill it.
  int ow = 0, oh = 0;
  SDL_GetRendererOutputSize(d.renderer.get(), &ow, &oh);
  if (ow != w || oh != h)
    SDL_RenderSetLogicalSize(d.renderer.get(), w, h);
  d.width = w;
  d.height = h;
  SDL_SetRenderDrawColor(d.renderer.get(), 0, 0, 0, 255);
  SDL_RenderClear(d.renderer.get());
  detail::SetFrameClockRate(d.clock, d.clock.fps);
  return true;
}

// Window size in SDL's units for w x h real pixels: on a scaled desktop a
// point is more than one pixel.
void WindowPoints(int &w, int &h) {
  SDL_DisplayMode mode;
  SDL_Rect bounds;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0 ||
      SDL_GetDisplayBounds(0, &bounds) != 0 || mode.w <= 0 || mode.h <= 0)
    return;
  if (bounds.w == mode.w && bounds.h == mode.h)
    return;
  w = static_cast<int>(std::lround(double(w) * bounds.w / mode.w));
  h = static_cast<int>(std::lround(double(h) * bounds.h / mode.h));
}

} // namespace

namespace detail {

bool PlainScreen(SDL_Renderer *r) {
  const DisplayState &d = State().display;
  int ow = 0, oh = 0;
  float sx = 0, sy = 0;
  SDL_Rect view{};
  if (!r || !d.softwareRenderer || !d.window || SDL_GetRenderTarget(r) ||
      SDL_RenderIsClipEnabled(r) ||
      SDL_GetWindowPixelFormat(d.window.get()) != SDL_PIXELFORMAT_RGB888 ||
      SDL_GetRendererOutputSize(r, &ow, &oh) != 0 || ow != d.width ||
      oh != d.height)
    return false;
  SDL_RenderGetScale(r, &sx, &sy);
  SDL_RenderGetViewport(r, &view);
  const SDL_Rect whole{0, 0, ow, oh};
  return sx == 1 && sy == 1 && SDL_RectEquals(&view, &whole);
}

bool PlainTarget(SDL_Renderer *r) {
  SDL_Texture *target = r ? SDL_GetRenderTarget(r) : nullptr;
  if (!target)
    return PlainScreen(r);
  Uint32 format = 0;
  int access = 0, w = 0, h = 0;
  float sx = 0, sy = 0;
  SDL_Rect view{};
  if (!State().display.softwareRenderer || SDL_RenderIsClipEnabled(r) ||
      SDL_QueryTexture(target, &format, &access, &w, &h) != 0 ||
      format != SDL_PIXELFORMAT_RGB888)
    return false;
  SDL_RenderGetScale(r, &sx, &sy);
  SDL_RenderGetViewport(r, &view);
  const SDL_Rect whole{0, 0, w, h};
  return sx == 1 && sy == 1 && SDL_RectEquals(&view, &whole);
}

void CloseScreenAndWindow() {
  CloseScreen();
  CloseWindow();
}

} // namespace detail

bool OpenFullScreen(int w, int h, const std::string &title) {
  detail::CloseScreenAndWindow();
  if (!detail::EnsureVideo(true) || w <= 0 || h <= 0)
    return false;
  detail::DisplayState &d = State().display;
  d.window.reset(
      SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED_DISPLAY(0),
                       SDL_WINDOWPOS_CENTERED_DISPLAY(0), w, h,
                       SDL_WINDOW_FULLSCREEN | SDL_WINDOW_ALLOW_HIGHDPI));
  if (!d.window) {
    detail::ReportFailure("SDL_CreateWindow");
    return false;
  }
  d.fullScreen = true;
  d.switchedAway = false;
  if (!StartScreen(w, h)) {
    detail::CloseScreenAndWindow();
    return false;
  }
  return true;
}

bool OpenWindow(int w, int h, const std::string &title, WindowStyle style) {
  detail::CloseScreenAndWindow();
  if (!detail::EnsureVideo(true) || w <= 0 || h <= 0)
    return false;
  int pw = w, ph = h;
  WindowPoints(pw, ph);
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
  if (style == WindowStyle::Borderless)
    flags |= SDL_WINDOW_BORDERLESS;
  detail::DisplayState &d = State().display;
  d.window.reset(
      SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED_DISPLAY(0),
                       SDL_WINDOWPOS_CENTERED_DISPLAY(0), pw, ph, flags));
  if (!d.window) {
    detail::ReportFailure("SDL_CreateWindow");
    return false;
  }
  d.fullScreen = false;
  d.windowW = w;
  d.windowH = h;
  return true;
}

bool OpenScreenInWindow() {
  detail::DisplayState &d = State().display;
  if (!d.window || d.renderer)
    return d.window && d.renderer;
  return StartScreen(d.windowW, d.windowH);
}

void PrepareScreenMemory() {
  const detail::DisplayState &d = State().display;
  if (!d.renderer)
    return;
  // Past loading the heap grows by what is asked only (a margin would add
  // to the peak at every size); the helper still faults the growth in
  // alongside the thread that asked, and what is made on a pass later
  // takes the reserve.
  detail::FollowHeap(0);
  detail::SetWarmReserve(uint64_t(d.width) * uint64_t(d.height) * 4);
}

bool ScreenOpen() { return State().display.renderer != nullptr; }

void CloseScreen() {
  detail::DisplayState &d = State().display;
  if (State().draw.active && State().draw.target != Target::Image)
    detail::EndDrawing();
  detail::ResetBackdrop();
  detail::StopPrefetch();
  detail::DropWarmReserve();
  detail::FreeAllSprites();
  // The renderer takes its textures with it: the overlay goes first.
  d.overlay.reset();
  d.blendBand.reset();
  for (detail::ZoomedCopy &z : d.zoomed)
    z = detail::ZoomedCopy{};
  d.renderer.reset();
  d.width = d.height = 0;
  if (d.fullScreen && d.window) {
    d.window.reset();
    d.fullScreen = false;
  }
}

void CloseWindow() {
  detail::DisplayState &d = State().display;
  if (d.renderer)
    CloseScreen();
  d.window.reset();
  d.fullScreen = false;
  d.events.clear();
}

void ShowWindow() {
  if (SDL_Window *w = State().display.window.get())
    SDL_ShowWindow(w);
}

void ActivateWindow() {
  if (SDL_Window *w = State().display.window.get())
    SDL_RaiseWindow(w);
}

void MinimiseWindow() {
  if (SDL_Window *w = State().display.window.get())
    SDL_MinimizeWindow(w);
}

void ShowCursor(bool on) {
  if (State().videoUp)
    SDL_ShowCursor(on ? SDL_ENABLE : SDL_DISABLE);
}

void ClearScreen(Colour c) {
  SDL_Renderer *r = State().display.renderer.get();
  if (!r)
    return;
  detail::FlushBackdrop();
  SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a);
  SDL_RenderClear(r);
}

int ScreenWidth() { return State().display.width; }
int ScreenHeight() { return State().display.height; }

int DesktopCount() {
  if (!detail::EnsureVideo())
    return 0;
  int n = SDL_GetNumVideoDisplays();
  return n > 0 ? n : 0;
}

void DesktopSize(int &w, int &h) {
  w = h = 0;
  SDL_DisplayMode mode;
  if (detail::EnsureVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0) {
    w = mode.w;
    h = mode.h;
  }
}

} // namespace plat
