// preview.cpp — draws the review pictures: maps at 48 pixels a tile with the
// start tile, the house and the part a 16:9 screen shows marked; sheets of
// tiles with all their frames.
#include "preview.h"

#include "floors.h"
#include "maps/mapfile_levels.h"
#include "maps/maze.h"

#include <cmath>
#include <filesystem>

namespace forge {

namespace {

constexpr int kCell = 48;

void Frame(Pixels &p, int x0, int y0, int x1, int y1, Rgb c) {
  for (int x = x0; x <= x1; ++x) {
    BlendOver(p, x, y0, c, 0.9f);
    BlendOver(p, x, y1, c, 0.9f);
  }
  for (int y = y0; y <= y1; ++y) {
    BlendOver(p, x0, y, c, 0.9f);
    BlendOver(p, x1, y, c, 0.9f);
  }
}

void Ring(Pixels &p, float cx, float cy, float r, Rgb c) {
  for (int y = static_cast<int>(cy - r - 2); y <= static_cast<int>(cy + r + 2);
       ++y)
    for (int x = static_cast<int>(cx - r - 2);
         x <= static_cast<int>(cx + r + 2); ++x) {
      const float d = std::fabs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - r);
      BlendOver(p, x, y, c, Clamp01(1.8f - d));
    }
}

Pixels DrawMapPreview(const std::string &id, const mapfile::MapEntry &map,
                      const std::map<int, Pixels> &small) {
  using namespace mapfile;
  using namespace maze;
  Pixels out = MakePixels(map.widthTiles * kCell, map.heightTiles * kCell);
  for (int x = 0; x < map.widthTiles; ++x)
    for (int y = 0; y < map.heightTiles; ++y)
      for (int layer = 0; layer < static_cast<int>(map.layers.size());
           ++layer) {
        const int16_t v = CellAt(map, layer, x, y);
        const auto tile = small.find(v);
        if (v <= 0 || tile == small.end())
          continue;
        if (layer == kFloorLayer)
          Copy(out, tile->second, x * kCell, y * kCell);
        else
          DrawOver(out, tile->second, x * kCell, y * kCell);
      }
  const Rgb mark = Rgb8(255, 255, 255);
  if (const LevelTableRow *rule = FindLevel(id)) {
    Ring(out, (rule->startX + 0.5f) * kCell, (rule->startY + 0.5f) * kCell, 17,
         mark);
    const House house = HouseOf(rule->houseType);
    for (int k = 0; k < 2; ++k)
      Disc(out, (house.waitX[k] + 0.5f) * kCell,
           (house.waitY[k] + 0.5f) * kCell, 9, Rgb8(230, 60, 200), 0.9f);
    // What a 1920 x 1080 screen shows below the panel.
    Frame(out, kCell * 3 / 2, 2 * kCell, kCell * 83 / 2, 23 * kCell - 1,
          Rgb8(255, 230, 0));
  } else {
    Ring(out, (kMenuStartX + 0.5f) * kCell, (kMenuStartY + 0.5f) * kCell, 17,
         mark);
    Frame(out, kCell * 3 / 2, 300, kCell * 83 / 2, 300 + 1080 - 1,
          Rgb8(255, 230, 0));
  }
  return out;
}

} // namespace

bool WritePreviews(const std::string &folder,
                   const std::map<std::string, mapfile::MapEntry> &maps,
                   const std::vector<ForgedTile> &tiles) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  std::map<int, Pixels> small;
  for (const ForgedTile &t : tiles)
    small[t.value] = Halve(Crop(t.pixels, 0, 0, 96, 96));
  bool ok = true;
  for (const auto &[id, map] : maps)
    ok = WritePng(folder + "/" + id + ".png", DrawMapPreview(id, map, small)) &&
         ok;

  // One sheet per sheet name: a row per tile, all frames, on a mid grey.
  std::map<std::string, std::vector<const ForgedTile *>> sheets;
  for (const ForgedTile &t : tiles)
    sheets[t.sheet].push_back(&t);
  for (const auto &[name, list] : sheets) {
    constexpr int kPerRow = 8;
    int maxFrames = 1;
    for (const ForgedTile *t : list)
      maxFrames = std::max(maxFrames, t->frames);
    // Still tiles share rows; animated ones get a row of their own.
    std::vector<std::vector<const ForgedTile *>> rows;
    for (const ForgedTile *t : list) {
      if (t->frames > 1 || rows.empty() || rows.back().size() >= kPerRow ||
          rows.back().back()->frames > 1)
        rows.push_back({});
      rows.back().push_back(t);
    }
    const int width = std::max(kPerRow, maxFrames) * 100 + 4;
    Pixels sheet = MakePixels(width, static_cast<int>(rows.size()) * 100 + 4);
    for (int y = 0; y < sheet.height; ++y)
      for (int x = 0; x < sheet.width; ++x)
        BlendOver(sheet, x, y,
                  ((x / 12 + y / 12) % 2) ? Rgb8(120, 120, 120)
                                          : Rgb8(140, 140, 140),
                  1);
    for (size_t r = 0; r < rows.size(); ++r) {
      int x = 4;
      for (const ForgedTile *t : rows[r])
        for (int f = 0; f < t->frames; ++f) {
          DrawOver(sheet, Crop(t->pixels, f * 96, 0, 96, 96), x,
                   static_cast<int>(r) * 100 + 4);
          x += 100;
        }
    }
    ok = WritePng(folder + "/tiles-" + name + ".png", sheet) && ok;
  }
  return ok;
}

} // namespace forge
