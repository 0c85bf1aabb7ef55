// platform_helpers.h — shared set-up for the platform tests: a headless
// screen, solid pictures, reading screen pixels back, CRC-32.
#pragma once

#include "platform/core.h"
#include "platform/display.h"
#include "platform/pictures.h"
#include "platform/screenshot.h"
#include "platform/sprites.h"
#include "platform/test_hooks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace plat_test {

// A 320 x 240 window with a screen, on SDL's headless drivers (the test
// runner sets them; set here too for running the program by hand).
struct ScreenTest : ::testing::Test {
  static constexpr int kW = 320, kH = 240;
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_TRUE(plat::Init());
    ASSERT_TRUE(plat::OpenWindow(kW, kH, "test", plat::WindowStyle::Windowed));
    ASSERT_TRUE(plat::OpenScreenInWindow());
  }
  void TearDown() override { plat::Shutdown(); }
};

// Without a screen: Init only.
struct PlatformTest : ::testing::Test {
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_TRUE(plat::Init());
  }
  void TearDown() override { plat::Shutdown(); }
};

inline plat::Picture Solid(int w, int h, plat::Colour c) {
  plat::Picture p;
  p.width = w;
  p.height = h;
  p.pixels.resize(size_t(w) * h * 4);
  for (size_t i = 0; i < p.pixels.size(); i += 4) {
    p.pixels[i] = c.b;
    p.pixels[i + 1] = c.g;
    p.pixels[i + 2] = c.r;
    p.pixels[i + 3] = c.a;
  }
  return p;
}

inline void SetPixel(plat::Picture &p, int x, int y, plat::Colour c) {
  uint8_t *q = &p.pixels[(size_t(y) * p.width + x) * 4];
  q[0] = c.b, q[1] = c.g, q[2] = c.r, q[3] = c.a;
}

inline plat::Colour GetPixel(const plat::Picture &p, int x, int y) {
  const uint8_t *q = &p.pixels[(size_t(y) * p.width + x) * 4];
  return plat::Colour{q[2], q[1], q[0], q[3]};
}

// The screen's pixels in a rectangle, through a grabbed sprite.
inline plat::Picture Grab(int x, int y, int w, int h) {
  plat::Picture p;
  int n = 999;
  EXPECT_TRUE(plat::GrabSprite(n, x, y, w, h));
  EXPECT_TRUE(plat::SpritePixels(n, p));
  plat::FreeSprite(n);
  return p;
}

inline plat::Colour ScreenPixel(int x, int y) {
  return GetPixel(Grab(x, y, 1, 1), 0, 0);
}

inline bool Near(plat::Colour a, plat::Colour b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

inline std::string Str(plat::Colour c) {
  return std::to_string(c.r) + "," + std::to_string(c.g) + "," +
         std::to_string(c.b) + "," + std::to_string(c.a);
}

inline uint32_t Crc32(const uint8_t *data, size_t size) {
  uint32_t crc = 0xffffffffu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k)
      crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline std::vector<uint8_t> Png(const plat::Picture &p) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(plat::EncodePng(p, bytes));
  return bytes;
}

// A fresh empty folder under /tmp (path with a trailing "/"), removed with
// everything in it at the end of the test.
struct TempDir {
  std::string path;
  TempDir() {
    char name[] = "/tmp/wf_platform_XXXXXX";
    const char *made = mkdtemp(name);
    EXPECT_NE(made, nullptr);
    path = std::string(made ? made : "/tmp/wf_platform_failed") + "/";
  }
  ~TempDir() {
    std::error_code ec;
    for (auto &e : std::filesystem::recursive_directory_iterator(path, ec))
      if (e.is_directory(ec))
        std::filesystem::permissions(e.path(),
                                     std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path, ec);
  }
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;
};

} // namespace plat_test
