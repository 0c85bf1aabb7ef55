// core.h — what every platform service shares: objects named by small
// numbers, colours, and bringing the libraries up and down.
//
// The game talks to the machine only through the service headers of this
// folder (display, sprites, images, text, sound, input, files, zip,
// system, clock, random, screenshot); no library header is included
// outside src/platform/. Objects are named by small integers; passing
// kAnyNumber asks the service to choose a free number and return it.
// Creating an object under a number that is in use frees the old object
// first.
#pragma once

#include <cstdint>

namespace plat {

constexpr int kAnyNumber = -1;

// Numbers handed out for kAnyNumber start here, so they never collide with
// the fixed numbers of the asset catalogue.
constexpr int kFirstFreeNumber = 100;

struct Colour {
  uint8_t r = 0, g = 0, b = 0, a = 255;
};

// Brings up the library core (events, timer, fonts, locale for UTF-8 names).
// Reads the test switches from the environment: WARRENFOLD_SEED,
// WARRENFOLD_UNPACED. Safe to call more than once.
bool Init();
// Releases every object and library. The program may call Init again.
void Shutdown();

// True when the video driver is a headless one (no window ever gets focus).
bool HeadlessVideo();

} // namespace plat
