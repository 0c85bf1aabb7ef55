// keyboard.cpp — the keyboard snapshot taken once per frame: held keys and
// keys released since the previous snapshot, by the game's scan codes.
#include "platform/input.h"
#include "platform/internal.h"
#include "platform/scripted_input.h"

namespace plat {

using detail::State;

namespace {

struct KeyMap {
  Key key;
  SDL_Scancode scancode;
};

// Scan codes are positions on the keyboard, not letters: W, A, S, D steer
// from the same place on every layout.
constexpr KeyMap kKeys[] = {
    {Key::Esc, SDL_SCANCODE_ESCAPE},
    {Key::W, SDL_SCANCODE_W},
    {Key::Return, SDL_SCANCODE_RETURN},
    {Key::A, SDL_SCANCODE_A},
    {Key::S, SDL_SCANCODE_S},
    {Key::D, SDL_SCANCODE_D},
    {Key::N, SDL_SCANCODE_N},
    {Key::M, SDL_SCANCODE_M},
    {Key::Space, SDL_SCANCODE_SPACE},
    {Key::F1, SDL_SCANCODE_F1},
    {Key::KeypadEnter, SDL_SCANCODE_KP_ENTER},
    {Key::Up, SDL_SCANCODE_UP},
    {Key::Left, SDL_SCANCODE_LEFT},
    {Key::Right, SDL_SCANCODE_RIGHT},
    {Key::Down, SDL_SCANCODE_DOWN},
    {Key::Delete, SDL_SCANCODE_DELETE},
};

size_t Index(Key k) { return static_cast<uint8_t>(k); }

} // namespace

bool InitKeyboard() {
  detail::InputState &in = State().input;
  in.down.fill(false);
  in.previous.fill(false);
  in.released.fill(false);
  return State().initialised;
}

void KeyboardSnapshot() {
  detail::InputState &in = State().input;
  in.previous = in.down;
  if (in.scripted) {
    for (const KeyMap &k : kKeys)
      in.down[Index(k.key)] = in.injectedKeys[Index(k.key)];
  } else if (State().initialised) {
    SDL_PumpEvents();
    // Window and hot-plug events wait in our own queue for the game.
    detail::ServiceEvents();
    int count = 0;
    const Uint8 *keys = SDL_GetKeyboardState(&count);
    for (const KeyMap &k : kKeys)
      in.down[Index(k.key)] = k.scancode < count && keys[k.scancode];
  }
  for (const KeyMap &k : kKeys) {
    size_t i = Index(k.key);
    in.released[i] = in.previous[i] && !in.down[i];
  }
}

bool KeyHeld(Key k) { return State().input.down[Index(k)]; }
bool KeyReleased(Key k) { return State().input.released[Index(k)]; }
bool RawKeyDown(Key k) { return State().input.down[Index(k)]; }

} // namespace plat
