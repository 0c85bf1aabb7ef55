// headless.cpp — every test program runs on SDL's headless drivers unless
// the environment already names others, and with Ctrl+C and SIGTERM at
// their defaults: a run started in the background (where the shell ignores
// them) must see them as a player's terminal sends them.
#include <csignal>
#include <cstdlib>

namespace {
const bool kHeadless = [] {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  return true;
}();
} // namespace
