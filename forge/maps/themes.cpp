// themes.cpp — the colour sets and decorations of the six maze looks; the
// level themes follow the colours of their levels' dialogs.
#include "themes.h"

#include <cctype>

namespace forge {

namespace {

std::vector<Theme> MakeThemes() {
  std::vector<Theme> t;
  // Green: a sunny meadow of clipped hedges.
  t.push_back({.name = "meadow",
               .base = 100,
               .wallStyle = WallStyle::Hedge,
               .floorStyle = FloorStyle::Grass,
               .floor = Rgb8(74, 112, 52),
               .floorShade = Rgb8(58, 92, 42),
               .floorDetail = Rgb8(100, 136, 60),
               .houseFloor = Rgb8(96, 78, 58),
               .wall = Rgb8(40, 130, 62),
               .wallShade = Rgb8(12, 76, 40),
               .wallLight = Rgb8(150, 196, 60),
               .edge = Rgb8(8, 48, 26),
               .halo = Rgb8(10, 34, 14),
               .margin = 9,
               .radius = 26,
               .glowingEdge = false,
               .accent = Rgb8(250, 226, 96),
               .decorations = {
                   {'a', DecorKind::Flowers, "swaying flowers", 6, 9},
                   {'b', DecorKind::Rock, "mossy stone", 1, kStillDelay},
                   {'c', DecorKind::Mushrooms, "toadstools", 1, kStillDelay}}});
  // Dark green: a deep forest at dusk, dark canopies and fireflies.
  t.push_back({.name = "forest",
               .base = 200,
               .wallStyle = WallStyle::Canopy,
               .floorStyle = FloorStyle::Moss,
               .floor = Rgb8(30, 52, 36),
               .floorShade = Rgb8(20, 38, 27),
               .floorDetail = Rgb8(52, 74, 40),
               .houseFloor = Rgb8(70, 60, 48),
               .wall = Rgb8(16, 86, 46),
               .wallShade = Rgb8(4, 44, 24),
               .wallLight = Rgb8(112, 142, 34),
               .edge = Rgb8(2, 22, 12),
               .halo = Rgb8(0, 10, 4),
               .margin = 9,
               .radius = 22,
               .glowingEdge = false,
               .accent = Rgb8(214, 246, 120),
               .decorations = {
                   {'a', DecorKind::Fireflies, "fireflies", 8, 7},
                   {'b', DecorKind::Fern, "swaying fern", 6, 10},
                   {'c', DecorKind::Mushrooms, "toadstools", 1, kStillDelay}}});
  // Orange on black: a cave of dark rock with glowing seams.
  t.push_back(
      {.name = "ember",
       .base = 300,
       .wallStyle = WallStyle::Basalt,
       .floorStyle = FloorStyle::Ash,
       .floor = Rgb8(26, 20, 20),
       .floorShade = Rgb8(17, 13, 14),
       .floorDetail = Rgb8(70, 40, 26),
       .houseFloor = Rgb8(60, 40, 34),
       .wall = Rgb8(62, 42, 40),
       .wallShade = Rgb8(30, 20, 20),
       .wallLight = Rgb8(132, 88, 70),
       .edge = Rgb8(247, 148, 30),
       .halo = Rgb8(200, 70, 0),
       .margin = 10,
       .radius = 14,
       .glowingEdge = true,
       .accent = Rgb8(255, 170, 40),
       .decorations = {{'a', DecorKind::Torch, "burning torch", 4, 5},
                       {'b', DecorKind::LavaPool, "bubbling lava", 6, 8},
                       {'c', DecorKind::Bones, "old bones", 1, kStillDelay}}});
  // Sand on black: a desert tomb by night, sandstone and blue crystals.
  t.push_back(
      {.name = "dune",
       .base = 400,
       .wallStyle = WallStyle::Sandstone,
       .floorStyle = FloorStyle::NightSand,
       .floor = Rgb8(36, 30, 34),
       .floorShade = Rgb8(26, 22, 26),
       .floorDetail = Rgb8(70, 58, 56),
       .houseFloor = Rgb8(84, 64, 52),
       .wall = Rgb8(204, 164, 116),
       .wallShade = Rgb8(142, 108, 76),
       .wallLight = Rgb8(255, 220, 170),
       .edge = Rgb8(70, 48, 34),
       .halo = Rgb8(4, 2, 6),
       .margin = 10,
       .radius = 10,
       .glowingEdge = false,
       .accent = Rgb8(120, 210, 255),
       .decorations = {{'a', DecorKind::Crystal, "glowing crystal", 6, 8},
                       {'b', DecorKind::DriftSand, "drifting sand", 8, 6},
                       {'c', DecorKind::Bones, "old bones", 1, kStillDelay}}});
  // Brown: an old burrow of packed earth and roots.
  t.push_back({.name = "burrow",
               .base = 500,
               .wallStyle = WallStyle::Earth,
               .floorStyle = FloorStyle::Dirt,
               .floor = Rgb8(100, 70, 54),
               .floorShade = Rgb8(82, 56, 43),
               .floorDetail = Rgb8(124, 92, 70),
               .houseFloor = Rgb8(70, 48, 38),
               .wall = Rgb8(74, 46, 30),
               .wallShade = Rgb8(44, 26, 16),
               .wallLight = Rgb8(176, 138, 96),
               .edge = Rgb8(38, 22, 12),
               .halo = Rgb8(30, 16, 8),
               .margin = 9,
               .radius = 20,
               .glowingEdge = false,
               .accent = Rgb8(255, 200, 90),
               .decorations = {
                   {'a', DecorKind::Lantern, "hanging lantern", 4, 6},
                   {'b', DecorKind::Roots, "roots", 1, kStillDelay},
                   {'c', DecorKind::Mushrooms, "toadstools", 1, kStillDelay}}});
  // The menu maze: calm slate blue under the menus.
  t.push_back(
      {.name = "dusk",
       .base = 600,
       .wallStyle = WallStyle::Slate,
       .floorStyle = FloorStyle::Cobble,
       .floor = Rgb8(30, 34, 58),
       .floorShade = Rgb8(22, 25, 44),
       .floorDetail = Rgb8(46, 52, 82),
       .houseFloor = Rgb8(26, 28, 46),
       .wall = Rgb8(74, 86, 132),
       .wallShade = Rgb8(44, 52, 88),
       .wallLight = Rgb8(150, 164, 214),
       .edge = Rgb8(16, 18, 34),
       .halo = Rgb8(4, 4, 14),
       .margin = 9,
       .radius = 18,
       .glowingEdge = false,
       .accent = Rgb8(170, 220, 255),
       .decorations = {{'a', DecorKind::StarLamp, "star lamp", 8, 6},
                       {'b', DecorKind::Rock, "stone", 1, kStillDelay},
                       {'c', DecorKind::Crystal, "glowing crystal", 6, 8}}});
  return t;
}

} // namespace

const std::vector<Theme> &Themes() {
  static const std::vector<Theme> themes = MakeThemes();
  return themes;
}

const Theme *FindTheme(const std::string &name) {
  for (const Theme &theme : Themes())
    if (name == theme.name)
      return &theme;
  return nullptr;
}

const Decoration *FindDecoration(const Theme &theme, char letter) {
  const char lower =
      static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  for (const Decoration &d : theme.decorations)
    if (d.letter == lower)
      return &d;
  return nullptr;
}

} // namespace forge
