// maze_scene.cpp — a block maze in perspective, painted far to near.
#include "maze_scene.h"

#include "blur.h"
#include "canvas.h"
#include "characters.h"
#include "colour.h"
#include "items.h"
#include "rng.h"
#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace art {

namespace {

constexpr int kCols = 63, kRows = 45;
constexpr int kMid = kCols / 2; // 31, odd: a corridor runs down the middle
constexpr double kWallHeight = 0.42;
constexpr double kEye = 4.0; // camera height in cells

struct Maze {
  std::vector<char> cell; // '#' wall, '.' path
  char &At(int x, int y) { return cell[static_cast<size_t>(y * kCols + x)]; }
  char At(int x, int y) const {
    if (x < 0 || y < 0 || x >= kCols || y >= kRows)
      return '#';
    return cell[static_cast<size_t>(y * kCols + x)];
  }
};

// Rooms on odd coordinates joined by a depth-first walk, then some extra
// openings so the maze has loops like the game's own.
Maze MakeMaze() {
  Maze m;
  m.cell.assign(kCols * kRows, '#');
  Rng rng(1979);
  std::vector<std::pair<int, int>> stack{{kMid, 1}};
  m.At(kMid, 1) = '.';
  const int dx[4] = {2, -2, 0, 0}, dy[4] = {0, 0, 2, -2};
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    int options[4], n = 0;
    for (int d = 0; d < 4; ++d) {
      int nx = x + dx[d], ny = y + dy[d];
      if (nx > 0 && ny > 0 && nx < kCols - 1 && ny < kRows - 1 &&
          m.At(nx, ny) == '#')
        options[n++] = d;
    }
    if (n == 0) {
      stack.pop_back();
      continue;
    }
    int d = options[rng.Below(n)];
    m.At(x + dx[d] / 2, y + dy[d] / 2) = '.';
    m.At(x + dx[d], y + dy[d]) = '.';
    stack.push_back({x + dx[d], y + dy[d]});
  }
  for (int y = 1; y < kRows - 1; ++y)
    for (int x = 1; x < kCols - 1; ++x)
      if (m.At(x, y) == '#' && ((x % 2) != (y % 2)) && rng.Unit() < 0.22)
        m.At(x, y) = '.';
  // The player's corridor straight ahead, with a cross street.
  for (int y = 0; y < 12; ++y)
    m.At(kMid, y) = '.';
  for (int x = kMid - 6; x <= kMid + 6; ++x) {
    m.At(x, 5) = '.';
    m.At(x, 3) = '.';
  }
  m.At(kMid - 6, 4) = m.At(kMid + 6, 4) = '.';
  return m;
}

struct View {
  double cx, hy, f;
  double z0; // depth of row 0's near edge
};

struct P2 {
  double x, y;
};

// Cell column x and depth row r (fractional) at height y above the floor.
P2 Project(const View &v, double x, double r, double y) {
  double X = x - kMid - 0.5;
  double Z = v.z0 + r;
  return {v.cx + v.f * X / Z, v.hy + v.f * (kEye - y) / Z};
}

double Fog(double r) { return Clamp01((r - 4) / 30.0); }

const Rgba kFogColour = Rgb8(46, 28, 92);
const Rgba kWallTop = Rgb8(30, 96, 120);
const Rgba kWallFront = Rgb8(16, 52, 86);
const Rgba kWallSide = Rgb8(12, 38, 70);
const Rgba kEdge = Rgb8(140, 255, 232);

void Quad(cairo_t *cr, P2 a, P2 b, P2 c, P2 d) {
  cairo_move_to(cr, a.x, a.y);
  cairo_line_to(cr, b.x, b.y);
  cairo_line_to(cr, c.x, c.y);
  cairo_line_to(cr, d.x, d.y);
  cairo_close_path(cr);
}

void Block(cairo_t *cr, const View &v, const Maze &m, int x, int r,
           cairo_t *glow) {
  double fog = Fog(r);
  double y = kWallHeight;
  P2 fl = Project(v, x, r, 0), fr = Project(v, x + 1, r, 0);
  P2 tl = Project(v, x, r, y), tr = Project(v, x + 1, r, y);
  P2 bl = Project(v, x, r + 1, y), br = Project(v, x + 1, r + 1, y);
  P2 bl0 = Project(v, x, r + 1, 0), br0 = Project(v, x + 1, r + 1, 0);
  double X = x - kMid;
  // Side faces that look towards the middle, where no neighbour hides them.
  if (X > 0 && m.At(x - 1, r) != '#') {
    Quad(cr, fl, tl, bl, bl0);
    SetColour(cr, Mix(kWallSide, kFogColour, fog));
    cairo_fill(cr);
  }
  if (X < 0 && m.At(x + 1, r) != '#') {
    Quad(cr, fr, tr, br, br0);
    SetColour(cr, Mix(kWallSide, kFogColour, fog));
    cairo_fill(cr);
  }
  if (m.At(x, r - 1) != '#' || r == 0) {
    Quad(cr, fl, fr, tr, tl);
    cairo_pattern_t *p = cairo_pattern_create_linear(0, tl.y, 0, fl.y);
    AddStop(p, 0, Mix(Tint(kWallFront, 0.15), kFogColour, fog));
    AddStop(p, 1, Mix(Shade(kWallFront, 0.6), kFogColour, fog));
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
  Quad(cr, tl, tr, br, bl);
  SetColour(cr, Mix(kWallTop, kFogColour, fog * 0.9));
  cairo_fill(cr);
  // Neon rims on the top edges that border a corridor.
  double lw = std::max(1.0, v.f * 0.05 / (v.z0 + r));
  Rgba edge = Mix(kEdge, kFogColour, fog * 0.7);
  auto rim = [&](P2 a, P2 b) {
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
    StrokeWith(cr, edge, lw);
    cairo_new_path(cr);
    cairo_move_to(glow, a.x, a.y);
    cairo_line_to(glow, b.x, b.y);
    cairo_set_line_width(glow, lw * 3);
    cairo_set_line_cap(glow, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(glow);
  };
  if (m.At(x, r - 1) != '#')
    rim(tl, tr);
  if (m.At(x, r + 1) != '#')
    rim(bl, br);
  if (m.At(x - 1, r) != '#')
    rim(tl, bl);
  if (m.At(x + 1, r) != '#')
    rim(tr, br);
}

struct Figure {
  int x, r;
  int kind; // 0 player, 1..6 monster, -1 cherry
  Dir dir;
  int frame;
};

void DrawFigure(cairo_t *cr, const View &v, const Figure &fg, cairo_t *mask) {
  P2 foot = Project(v, fg.x + 0.5, fg.r + 0.5, 0);
  P2 head = Project(v, fg.x + 0.5, fg.r + 0.5, 1.0);
  double size = (foot.y - head.y) * 1.2;
  // Soft shadow on the floor.
  cairo_save(cr);
  cairo_translate(cr, foot.x, foot.y - size * 0.04);
  cairo_scale(cr, size * 0.36, size * 0.1);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  cairo_fill(cr);
  // The figure goes on the picture and, as a silhouette, on the mask that
  // keeps the wall glow off it.
  for (cairo_t *c : {cr, mask}) {
    cairo_save(c);
    cairo_translate(c, foot.x - size / 2, foot.y - size * 0.97);
    cairo_scale(c, size / kFrameSize, size / kFrameSize);
    if (fg.kind == 0)
      DrawPlayer(c, fg.dir, fg.frame);
    else if (fg.kind > 0)
      DrawMonster(c, fg.kind, fg.dir, fg.frame);
    else
      DrawCherries(c, 8, 14, 80);
    cairo_restore(c);
  }
}

} // namespace

void DrawMazeScene(cairo_t *cr, int w, int h, double horizonY) {
  Maze m = MakeMaze();
  View v;
  v.cx = w / 2.0;
  v.hy = horizonY;
  v.f = h * 0.92;
  // Row 0's near edge sits just below the bottom of the picture.
  v.z0 = v.f * kEye / (h * 1.04 - horizonY);

  // Floor: dark near, fading into the purple haze at the horizon.
  cairo_pattern_t *floor = cairo_pattern_create_linear(0, horizonY, 0, h);
  AddStop(floor, 0, kFogColour);
  AddStop(floor, 0.25, Rgb8(22, 20, 58));
  AddStop(floor, 1, Rgb8(8, 12, 30));
  cairo_set_source(cr, floor);
  cairo_rectangle(cr, 0, horizonY, w, h - horizonY);
  cairo_fill(cr);
  cairo_pattern_destroy(floor);

  const Figure figures[] = {
      {kMid, 1, 0, Dir::Down, 2},      {kMid - 3, 3, 1, Dir::Right, 1},
      {kMid + 3, 3, 4, Dir::Left, 0},  {kMid, 7, 2, Dir::Down, 3},
      {kMid - 6, 5, 5, Dir::Right, 2}, {kMid + 5, 5, 3, Dir::Left, 1},
      {kMid, 10, 6, Dir::Down, 0},     {kMid + 1, 5, -1, Dir::Down, 0},
      {kMid - 2, 5, -1, Dir::Down, 0},
  };
  for (const Figure &fg : figures)
    m.At(fg.x, fg.r) = fg.kind == 0 ? 'P' : 'F';

  Canvas glow(w, h);
  Canvas silhouettes(w, h);
  cairo_set_source_rgba(glow.cr, 0, 0, 0, 1);
  for (int r = kRows - 1; r >= 0; --r) {
    std::vector<int> xs(kCols);
    for (int x = 0; x < kCols; ++x)
      xs[static_cast<size_t>(x)] = x;
    std::stable_sort(xs.begin(), xs.end(), [](int a, int b) {
      return std::abs(a - kMid) > std::abs(b - kMid);
    });
    for (int x : xs) {
      char c = m.At(x, r);
      if (c == '#') {
        Block(cr, v, m, x, r, glow.cr);
      } else if (c == '.') {
        P2 p = Project(v, x + 0.5, r + 0.5, 0.3);
        P2 q = Project(v, x + 0.5, r + 0.5, 0.3 + 0.12);
        double rad = p.y - q.y;
        if (rad > 0.6)
          DrawDot(cr, p.x, p.y, rad);
      }
    }
    for (const Figure &fg : figures)
      if (fg.r == r)
        DrawFigure(cr, v, fg, silhouettes.cr);
  }
  // The neon glow goes under nothing: it is light, added on top.
  BlurSurface(glow.surface, h / 160.0);
  cairo_set_operator(glow.cr, CAIRO_OPERATOR_DEST_OUT);
  cairo_set_source_surface(glow.cr, silhouettes.surface, 0, 0);
  cairo_paint(glow.cr);
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  cairo_set_source_rgba(cr, 0.3, 1, 0.85, 0.8);
  cairo_mask_surface(cr, glow.surface, 0, 0);
  cairo_restore(cr);
}

} // namespace art
