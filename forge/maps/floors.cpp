// floors.cpp — paints the ground of each theme. The ground repeats every
// tile, so neighbouring cells join; details stay clear of the edges.
#include "floors.h"

#include <algorithm>
#include <cmath>

namespace forge {

namespace {

constexpr float kPi = 3.14159265f;

Rgb Ground(const Theme &t, float x, float y) {
  switch (t.floorStyle) {
  case FloorStyle::Grass: {
    Rgb c = Mix(t.floorShade, t.floor, Fbm(x, y, 24, 101));
    c = Mix(c, t.floorDetail,
            0.4f * SmoothStep(0.6f, 0.85f, ValueNoise(x, y, 4, 102)));
    c = Mix(c, t.floorShade,
            0.5f * SmoothStep(0.65f, 0.9f, ValueNoise(x, y, 3, 103)));
    return c;
  }
  case FloorStyle::Moss: {
    Rgb c = Mix(t.floorShade, t.floor, Fbm(x, y, 32, 111));
    c = Mix(c, t.floorDetail,
            0.35f * SmoothStep(0.7f, 0.9f, ValueNoise(x, y, 4, 112)));
    return c;
  }
  case FloorStyle::Ash: {
    Rgb c = Mix(t.floorShade, t.floor, Fbm(x, y, 32, 121));
    c = Mix(c, t.floorDetail,
            0.3f * SmoothStep(0.8f, 0.95f, ValueNoise(x, y, 3, 122)));
    return c;
  }
  case FloorStyle::NightSand: {
    const float wave =
        std::sin(2 * kPi *
                 (3 * y / 96 + 0.12f * std::sin(2 * kPi * x / 96) +
                  0.15f * Fbm(x, y, 48, 131)));
    Rgb c = Mix(t.floorShade, t.floor, 0.5f + 0.5f * wave);
    c = Mix(c, t.floorDetail,
            0.25f * SmoothStep(0.75f, 0.95f, ValueNoise(x, y, 3, 132)));
    return c;
  }
  case FloorStyle::Dirt: {
    Rgb c = Mix(t.floorShade, t.floor, Fbm(x, y, 24, 141));
    c = Mix(c, Scale(t.floorShade, 0.85f),
            0.5f * SmoothStep(0.7f, 0.9f, ValueNoise(x, y, 6, 142)));
    c = Mix(c, t.floorDetail,
            0.3f * SmoothStep(0.75f, 0.95f, ValueNoise(x, y, 3, 143)));
    return c;
  }
  case FloorStyle::Cobble: {
    const int row = static_cast<int>(y / 24.0f);
    const float ox = x + (row % 2 ? 12.0f : 0.0f);
    const float inX = std::fmod(ox, 24.0f), inY = std::fmod(y, 24.0f);
    const int stone = static_cast<int>(ox / 24.0f) % 4;
    const float tint =
        Hash01(static_cast<uint32_t>(stone), static_cast<uint32_t>(row), 151);
    Rgb c = Mix(t.floorShade, t.floor, 0.6f + 0.4f * tint);
    c = Mix(c, t.floorShade, 0.3f * Fbm(x, y, 12, 152));
    // Rounded stones with dark gaps.
    const float ex = std::min(inX, 24.0f - inX),
                ey = std::min(inY, 24.0f - inY);
    const float r = 5.0f;
    float gap;
    if (ex < r && ey < r)
      gap = r - std::hypot(r - ex, r - ey);
    else
      gap = std::min(ex, ey);
    c = Mix(Scale(t.floorShade, 0.7f), c, SmoothStep(0.5f, 2.0f, gap));
    return c;
  }
  }
  return t.floor;
}

void Pebble(Pixels &p, float cx, float cy, float r, Rgb c) {
  Disc(p, cx + 1, cy + 1.5f, r, Scale(c, 0.4f), 0.5f);
  Disc(p, cx, cy, r, c, 1);
  Disc(p, cx - r * 0.3f, cy - r * 0.35f, r * 0.45f,
       Mix(c, Rgb8(255, 255, 255), 0.3f), 0.7f);
}

// Grass tufts: a few short strokes, darker or lighter than the ground.
void Tuft(Pixels &p, float cx, float cy, Rgb c) {
  for (int k = -2; k <= 2; ++k)
    for (int s = 0; s < 7; ++s) {
      const float u = static_cast<float>(s) / 6.0f;
      Disc(p, cx + k * 2.2f + k * u * 1.5f, cy - u * (7.0f - std::abs(k)), 0.9f,
           c, 0.8f);
    }
}

// Details stay low in contrast so that nothing on the ground looks like a
// pickup.
void Details(Pixels &p, const Theme &t, int variant) {
  const uint32_t seed = static_cast<uint32_t>(t.base * 10 + variant);
  const auto at = [&](int k, int axis) {
    return 14.0f + 68.0f * Hash01(seed, static_cast<uint32_t>(k),
                                  static_cast<uint32_t>(axis), 7);
  };
  const Rgb dark = Scale(t.floorShade, 0.8f);
  switch (t.floorStyle) {
  case FloorStyle::Grass:
  case FloorStyle::Moss:
    for (int k = 0; k < 2 + variant; ++k)
      Tuft(p, at(k, 0), at(k, 1), k % 2 ? t.floorDetail : dark);
    if (variant == 3)
      for (int k = 4; k < 6; ++k)
        Pebble(p, at(k, 0), at(k, 1), 2.5f,
               Mix(t.floor, Rgb8(128, 124, 110), 0.5f));
    break;
  case FloorStyle::Ash:
    for (int k = 0; k < variant * 2; ++k) {
      Disc(p, at(k, 0), at(k, 1), 3.0f, Rgb8(90, 30, 12), 0.3f);
      Disc(p, at(k, 0), at(k, 1), 1.0f, Rgb8(170, 70, 20), 0.6f);
    }
    break;
  case FloorStyle::NightSand:
  case FloorStyle::Dirt:
    for (int k = 0; k < variant + 1 && variant > 0; ++k)
      Pebble(p, at(k, 0), at(k, 1), 2.0f + 0.8f * k,
             Mix(t.floorDetail, t.floor, 0.3f));
    break;
  case FloorStyle::Cobble:
    if (variant > 0)
      for (int k = 0; k < variant * 2; ++k)
        Disc(p, at(k, 0), at(k, 1), 2.2f, Rgb8(50, 80, 64), 0.5f);
    break;
  }
}

} // namespace

void Disc(Pixels &dst, float cx, float cy, float r, Rgb c, float alpha) {
  const int x0 = static_cast<int>(std::floor(cx - r - 1)),
            x1 = static_cast<int>(std::ceil(cx + r + 1));
  const int y0 = static_cast<int>(std::floor(cy - r - 1)),
            y1 = static_cast<int>(std::ceil(cy + r + 1));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
      BlendOver(dst, x, y, c, alpha * Clamp01(r - d + 0.5f));
    }
}

Pixels PaintFloor(const Theme &t, int variant) {
  Pixels out = MakePixels(96, 96);
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x)
      BlendOver(out, x, y, Ground(t, x + 0.5f, y + 0.5f), 1);
  Details(out, t, variant);
  return out;
}

Pixels PaintHouseFloor(const Theme &t) {
  Pixels out = MakePixels(96, 96);
  // Boards 16 pixels wide, their joints staggered.
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x) {
      const int board = y / 16;
      const float inY = static_cast<float>(y % 16) + 0.5f;
      const float shift = (board % 2) ? 48.0f : 0.0f;
      const float inX = std::fmod(x + 0.5f + shift, 96.0f);
      const float tint = Hash01(static_cast<uint32_t>(board), 161);
      Rgb c = Scale(t.houseFloor, 0.85f + 0.3f * tint);
      c = Mix(c, Scale(t.houseFloor, 0.7f),
              0.5f * ValueNoise(x + 0.5f, y * 6.0f, 12, 162));
      const float seam = std::min({inY, 16.0f - inY, inX, 96.0f - inX});
      c = Mix(Scale(t.houseFloor, 0.45f), c, SmoothStep(0.4f, 1.6f, seam));
      BlendOver(out, x, y, c, 1);
    }
  return out;
}

} // namespace forge
