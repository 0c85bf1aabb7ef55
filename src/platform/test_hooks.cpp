// test_hooks.cpp — the calls of test_hooks.h. A library of its own that
// only the tests and the benchmarks link: the game never carries it.
#include "platform/test_hooks.h"

#include "platform/input.h"
#include "platform/internal.h"
#include "platform/pictures.h"

namespace plat {

using detail::State;

bool SpriteDisplaySize(int number, int &w, int &h) {
  const detail::Sprite *s = State().sprites.Get(number);
  if (!s)
    return false;
  w = detail::DisplayWidth(*s);
  h = detail::DisplayHeight(*s);
  return true;
}

bool SpritePixels(int number, Picture &out) {
  detail::Sprite *s = State().sprites.Get(number);
  if (!s || !detail::EnsureResident(*s))
    return false;
  out = detail::SpritePicture(*s);
  return !out.pixels.empty();
}

std::string RendererName() {
  SDL_RendererInfo info;
  SDL_Renderer *r = State().display.renderer.get();
  if (!r || SDL_GetRendererInfo(r, &info) != 0 || !info.name)
    return std::string();
  return info.name;
}

void SetSpritePrescale(bool on) { State().prescale = on; }

void SetDrawingShortcuts(bool on) { State().shortcuts = on; }

uint64_t BackdropPixelsComposed() { return State().backdrop.composed; }
uint64_t ZoomedCopiesScaled() { return State().display.zoomedScaled; }

uint64_t HeapBytesFaultedAhead() { return detail::HeapBytesFaultedAhead(); }

uint64_t WarmReserveBytes() { return detail::WarmReserveBytes(); }

uint64_t PrefetchWaitedMicroseconds() {
  return detail::PrefetchWaitedMicroseconds();
}

bool DecodePngWithLibpng(const uint8_t *data, size_t size, Picture &out) {
  return detail::DecodePngWithLibpng(data, size, out);
}

void SetOnDemandBudget(uint64_t bytes) { State().onDemandBudget = bytes; }

uint64_t OnDemandResidentBytes() {
  return detail::OnDemandBytes() + detail::PrefetchReservedBytes();
}

bool SpriteResident(int number) {
  const detail::Sprite *s = State().sprites.Get(number);
  return s && (s->packed.empty() || s->resident);
}

bool ResizeWindowForTests(int w, int h) {
  SDL_Window *window = State().display.window.get();
  if (!window || w <= 0 || h <= 0)
    return false;
  SDL_SetWindowSize(window, w, h);
  int nw = 0, nh = 0;
  SDL_GetWindowSize(window, &nw, &nh);
  return nw == w && nh == h;
}

size_t SoundPcmBytes(int number) {
  const detail::Sound *s = State().sounds.Get(number);
  return s ? s->pcm.size() : 0;
}

bool AttachVirtualPad() {
  detail::InputState &in = State().input;
  if (in.virtualPad)
    return true;
  if (!in.padsUp)
    FindGamepads(); // brings the controller subsystem up
  if (!in.padsUp)
    return false;
  int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                        SDL_CONTROLLER_AXIS_MAX,
                                        SDL_CONTROLLER_BUTTON_MAX, 0);
  if (index < 0)
    return false;
  in.virtualPad.reset(SDL_JoystickOpen(index));
  return in.virtualPad != nullptr;
}

bool SetVirtualPadAxis(int axis, int raw) {
  SDL_Joystick *j = State().input.virtualPad.get();
  if (!j || axis < 0 || axis > 3)
    return false;
  if (raw < -32768)
    raw = -32768;
  if (raw > 32767)
    raw = 32767;
  return SDL_JoystickSetVirtualAxis(j, axis, Sint16(raw)) == 0;
}

bool SetVirtualPadButton(int button, bool down) {
  SDL_Joystick *j = State().input.virtualPad.get();
  if (!j || button < 1 || button > detail::kPadButtons)
    return false;
  return SDL_JoystickSetVirtualButton(j, button - 1, down ? 1 : 0) == 0;
}

void DetachVirtualPad() {
  detail::InputState &in = State().input;
  if (!in.virtualPad)
    return;
  int instance = SDL_JoystickInstanceID(in.virtualPad.get());
  in.virtualPad.reset();
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == instance) {
      SDL_JoystickDetachVirtual(i);
      break;
    }
}

} // namespace plat
