// tileset.cpp — paints the whole tile set: shared items and doors, then per
// theme its floors, house floor, the 47 wall pieces and its decorations.
#include "tileset.h"

#include "floors.h"
#include "props.h"
#include "themes.h"
#include "walls.h"

#include <algorithm>

namespace forge {

namespace {

// Pure black in an opaque tile would turn into a hole (the colour key), so
// the darkest ground stays just above it.
void LiftPureBlack(Pixels &p) {
  constexpr float kLow = 0.5f / 255.0f, kLift = 1.0f / 255.0f;
  for (size_t i = 0; i + 3 < p.rgba.size(); i += 4)
    if (p.rgba[i] < kLow && p.rgba[i + 1] < kLow && p.rgba[i + 2] < kLow) {
      p.rgba[i] = p.rgba[i + 1] = p.rgba[i + 2] = kLift;
    }
}

ForgedTile Still(int value, const std::string &sheet, bool transparent,
                 Pixels pixels) {
  ForgedTile t;
  t.value = value;
  t.sheet = sheet;
  t.transparent = transparent;
  t.frames = 1;
  t.delay = kStillDelay;
  t.pixels = std::move(pixels);
  if (!transparent)
    LiftPureBlack(t.pixels);
  return t;
}

} // namespace

std::vector<ForgedTile> ForgeTiles() {
  std::vector<ForgedTile> tiles;
  tiles.push_back(Still(56, "items", true, PaintCherry()));
  tiles.push_back(Still(57, "items", true, PaintDot()));
  for (int v = 58; v <= 65; ++v)
    tiles.push_back(Still(v, "doors", true, PaintDoor(v)));
  for (const Theme &theme : Themes()) {
    for (int k = 0; k < kFloorVariants; ++k)
      tiles.push_back(
          Still(theme.base + k, theme.name, false, PaintFloor(theme, k)));
    tiles.push_back(Still(theme.base + kHouseFloorOffset, theme.name, false,
                          PaintHouseFloor(theme)));
    const auto &masks = WallMasks();
    for (size_t k = 0; k < masks.size(); ++k)
      tiles.push_back(Still(theme.base + kWallOffset + static_cast<int>(k),
                            theme.name, true, PaintWall(theme, masks[k])));
    for (const Decoration &d : theme.decorations) {
      ForgedTile t = Still(theme.base + kDecorOffset + (d.letter - 'a'),
                           theme.name, true, PaintDecoration(theme, d));
      t.frames = d.frames;
      t.delay = d.delay;
      tiles.push_back(std::move(t));
    }
  }
  std::sort(tiles.begin(), tiles.end(),
            [](const ForgedTile &a, const ForgedTile &b) {
              return a.value < b.value;
            });
  return tiles;
}

} // namespace forge
