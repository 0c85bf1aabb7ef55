// headless.cpp — every test program runs on SDL's headless drivers unless
// the environment already names others.
#include <cstdlib>

namespace {
const bool kHeadless = [] {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  return true;
}();
} // namespace
