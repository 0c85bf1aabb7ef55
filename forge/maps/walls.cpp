// walls.cpp — paints the joined wall pieces. Each quarter of a piece is an
// outer corner, a straight edge, an inner corner or solid, so runs of walls
// meet without seams and end in rounded caps.
#include "walls.h"

#include <algorithm>
#include <cmath>

namespace forge {

namespace {

constexpr float kTile = 96.0f;

struct Distance {
  float sd;     // signed distance to the wall's outline, positive inside
  float gx, gy; // unit direction of increasing sd
};

// The shape of one quarter, in coordinates whose origin is the piece's
// corner of that quarter.
Distance QuarterDistance(bool side, bool upright, bool diagonal, float lx,
                         float ly, float margin, float radius) {
  if (!side && !upright) {
    const float c = margin + radius;
    if (lx < c && ly < c) {
      const float dx = lx - c, dy = ly - c;
      const float d = std::max(std::hypot(dx, dy), 1e-4f);
      return {radius - d, -dx / d, -dy / d};
    }
    if (lx - margin < ly - margin)
      return {lx - margin, 1, 0};
    return {ly - margin, 0, 1};
  }
  if (side && !upright)
    return {ly - margin, 0, 1};
  if (!side && upright)
    return {lx - margin, 1, 0};
  if (!diagonal) {
    const float d = std::max(std::hypot(lx, ly), 1e-4f);
    return {d - margin, lx / d, ly / d};
  }
  return {1000.0f, 0, 0};
}

Distance PieceDistance(uint8_t mask, float x, float y, float margin,
                       float radius) {
  const bool right = x >= kTile / 2, bottom = y >= kTile / 2;
  const float lx = right ? kTile - x : x, ly = bottom ? kTile - y : y;
  const bool side = mask & (right ? kE : kW);
  const bool upright = mask & (bottom ? kS : kN);
  const uint8_t diagonalBit =
      bottom ? (right ? kSE : kSW) : (right ? kNE : kNW);
  Distance d = QuarterDistance(side, upright, mask & diagonalBit, lx, ly,
                               margin, radius);
  if (right)
    d.gx = -d.gx;
  if (bottom)
    d.gy = -d.gy;
  return d;
}

// The colour of the wall's top at (x, y); the patterns repeat every tile.
Rgb Surface(const Theme &t, float x, float y) {
  switch (t.wallStyle) {
  case WallStyle::Hedge:
  case WallStyle::Canopy: {
    const float body = Fbm(x, y, 24, 11);
    Rgb c = Mix(t.wallShade, t.wall, SmoothStep(0.2f, 0.8f, body));
    // Clusters of small leaves catch the light.
    const float leaf = ValueNoise(x, y, 6, 12);
    const float shade = ValueNoise(x + 3, y + 3, 6, 13);
    c = Mix(c, t.wallLight, 0.55f * SmoothStep(0.62f, 0.9f, leaf));
    c = Mix(c, t.wallShade, 0.5f * SmoothStep(0.65f, 0.95f, shade));
    return c;
  }
  case WallStyle::Basalt: {
    const float body = Fbm(x, y, 48, 21);
    Rgb c = Mix(t.wallShade, t.wall, body);
    const float ridge = std::fabs(ValueNoise(x, y, 24, 22) - 0.5f);
    c = Mix(c, t.accent,
            0.7f * (1 - SmoothStep(0.0f, 0.035f, ridge)) *
                SmoothStep(0.3f, 0.7f, Fbm(x, y, 48, 23)));
    return c;
  }
  case WallStyle::Sandstone: {
    const int row = static_cast<int>(y / 24.0f);
    const float ox = x + (row % 2 ? 16.0f : 0.0f);
    const float inRowY = std::fmod(y, 24.0f);
    const float inBrickX = std::fmod(ox, 32.0f);
    const int brick = static_cast<int>(ox / 32.0f) % 3;
    const float tint =
        Hash01(static_cast<uint32_t>(brick), static_cast<uint32_t>(row), 31);
    Rgb c = Mix(t.wallShade, t.wall, 0.65f + 0.35f * tint);
    c = Mix(c, t.wallShade, 0.35f * Fbm(x, y, 12, 32));
    const float mortar =
        std::min({inRowY, 24.0f - inRowY, inBrickX, 32.0f - inBrickX});
    c = Mix(Scale(t.wallShade, 0.75f), c, SmoothStep(0.6f, 2.2f, mortar));
    return c;
  }
  case WallStyle::Earth: {
    Rgb c = Mix(t.wallShade, t.wall, Fbm(x, y, 24, 41));
    // Pebbles pressed into the earth, one per 16-pixel square at most.
    const int cx = static_cast<int>(x / 16.0f),
              cy = static_cast<int>(y / 16.0f);
    const uint32_t ux = static_cast<uint32_t>(cx % 6),
                   uy = static_cast<uint32_t>(cy % 6);
    if (Hash01(ux, uy, 42) < 0.45f) {
      const float px = cx * 16.0f + 4 + 8 * Hash01(ux, uy, 43);
      const float py = cy * 16.0f + 4 + 8 * Hash01(ux, uy, 44);
      const float r = 2.5f + 2.0f * Hash01(ux, uy, 45);
      const float d = std::hypot(x - px, y - py);
      const float in = 1 - SmoothStep(r - 0.8f, r + 0.4f, d);
      const Rgb stone = Mix(t.wallLight, t.wall, 0.45f);
      c = Mix(c, Mix(stone, t.wallLight, Clamp01((py - y) / r) * 0.5f), in);
    }
    return c;
  }
  case WallStyle::Slate: {
    const float inX = std::fmod(x, 48.0f), inY = std::fmod(y, 48.0f);
    const int block =
        static_cast<int>(x / 48.0f) + 2 * static_cast<int>(y / 48.0f);
    Rgb c = Mix(t.wallShade, t.wall,
                0.7f + 0.3f * Hash01(static_cast<uint32_t>(block), 51));
    c = Mix(c, t.wallShade, 0.3f * Fbm(x, y, 24, 52));
    const float seam = std::min({inX, 48.0f - inX, inY, 48.0f - inY});
    c = Mix(Scale(t.wallShade, 0.8f), c, SmoothStep(0.5f, 1.8f, seam));
    return c;
  }
  }
  return t.wall;
}

} // namespace

uint8_t ReduceWallMask(uint8_t mask) {
  const auto both = [mask](uint8_t a, uint8_t b) {
    return (mask & a) && (mask & b);
  };
  uint8_t out = mask & (kN | kE | kS | kW);
  if (both(kN, kE) && (mask & kNE))
    out |= kNE;
  if (both(kS, kE) && (mask & kSE))
    out |= kSE;
  if (both(kS, kW) && (mask & kSW))
    out |= kSW;
  if (both(kN, kW) && (mask & kNW))
    out |= kNW;
  return out;
}

const std::vector<uint8_t> &WallMasks() {
  static const std::vector<uint8_t> masks = [] {
    std::vector<uint8_t> m;
    for (int v = 0; v < 256; ++v)
      if (ReduceWallMask(static_cast<uint8_t>(v)) == v)
        m.push_back(static_cast<uint8_t>(v));
    return m;
  }();
  return masks;
}

int WallPiece(uint8_t mask) {
  const auto &masks = WallMasks();
  const auto it =
      std::lower_bound(masks.begin(), masks.end(), ReduceWallMask(mask));
  return static_cast<int>(it - masks.begin());
}

Pixels PaintWall(const Theme &t, uint8_t mask) {
  Pixels out = MakePixels(96, 96);
  const float bevel = t.wallStyle == WallStyle::Sandstone ? 9.0f : 13.0f;
  // Light from the upper left, a little above the maze.
  const float lx = -0.5f, ly = -0.65f, lz = 0.58f;
  const float lnorm = std::sqrt(lx * lx + ly * ly + lz * lz);
  for (int py = 0; py < 96; ++py)
    for (int px = 0; px < 96; ++px) {
      const float x = px + 0.5f, y = py + 0.5f;
      const Distance d = PieceDistance(mask, x, y, t.margin, t.radius);
      // Soft shadow (or glow) on the floor just outside the wall.
      if (d.sd < 0.5f) {
        const float reach = t.glowingEdge ? 9.0f : 7.0f;
        const float k = 1 - Clamp01(-d.sd / reach);
        BlendOver(out, px, py, t.halo, (t.glowingEdge ? 0.55f : 0.45f) * k * k);
      }
      const float cover = Clamp01(d.sd + 0.5f);
      if (cover <= 0)
        continue;
      // A rounded rim: the surface falls away towards the outline.
      const float rim = Clamp01(d.sd / bevel);
      const float slope = 1.6f * (1 - rim) * (1 - rim);
      float nx = -d.gx * slope, ny = -d.gy * slope, nz = 1;
      const float nn = std::sqrt(nx * nx + ny * ny + nz * nz);
      nx /= nn, ny /= nn, nz /= nn;
      const float light = (nx * lx + ny * ly + nz * lz) / lnorm;
      const float flat = lz / lnorm;
      const float k = light / flat;
      Rgb c = Surface(t, x, y);
      if (k >= 1)
        c = Mix(c, t.wallLight, Clamp01((k - 1) * 0.9f));
      else
        c = Mix(c, Scale(t.wallShade, 0.6f), Clamp01((1 - k) * 0.9f));
      // The outline keeps walls readable against any floor.
      const float edge = 1 - SmoothStep(1.2f, 2.6f, d.sd);
      c = Mix(c, t.edge, edge * (t.glowingEdge ? 0.9f : 0.85f));
      BlendOver(out, px, py, c, cover);
    }
  return out;
}

} // namespace forge
