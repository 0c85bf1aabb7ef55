// frame_plot.cpp — draws per-frame timings as a PNG line chart: frame
// number across, milliseconds up (figures above Y_MAX_MS drawn at the
// top), one colour per series (blue, orange, green, purple in argument
// order), a dashed red line at each goal, a grey line every millisecond
// (every 5 when the scale is tall), digits on the axes.
//
//   bench_frame_plot OUT.png Y_MAX_MS GOAL_MS[,GOAL_MS...] SERIES.txt...
//
// A series file holds one figure a line, as bench_frame_cpu --samples
// writes them, or "pass screen figure" a line, as bench_whole_game
// --samples writes them (placed across by their pass number, so a file
// without the first pass still lines up). The first series with screens
// shows them as bands of colour behind the lines (the image has no
// letters, so the page that shows it names the colours): lilac the logo
// and the title, light blue the menus and their dialogs, yellow the
// countdown, orange the victory and caught banners, pink the dialogs over
// a level, green the finale; play, and any screen not named here, stays
// white.
#include "platform/core.h"
#include "platform/pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1200, kHeight = 480;
constexpr int kLeft = 50, kRight = 20, kTop = 20, kBottom = 40;
constexpr int kPlotW = kWidth - kLeft - kRight;
constexpr int kPlotH = kHeight - kTop - kBottom;

struct Canvas {
  plat::Picture pic;

  Canvas() {
    pic.width = kWidth;
    pic.height = kHeight;
    pic.pixels.assign(size_t(kWidth) * kHeight * 4, 255);
  }
  void Put(int x, int y, plat::Colour c) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight)
      return;
    uint8_t *p = &pic.pixels[(size_t(y) * kWidth + size_t(x)) * 4];
    p[0] = c.b, p[1] = c.g, p[2] = c.r, p[3] = 255;
  }
  void HLine(int x0, int x1, int y, plat::Colour c, int dash = 0) {
    for (int x = x0; x <= x1; ++x)
      if (dash == 0 || (x / dash) % 2 == 0)
        Put(x, y, c);
  }
  void VLine(int x, int y0, int y1, plat::Colour c) {
    if (y0 > y1)
      std::swap(y0, y1);
    for (int y = y0; y <= y1; ++y)
      Put(x, y, c);
  }
  // Digits and the point, 3 x 5 cells drawn 2 pixels a cell.
  void Text(int x, int y, const std::string &s, plat::Colour c) {
    static const uint16_t kGlyphs[11] = {
        0x7B6F, 0x2C97, 0x73E7, 0x73CF, 0x5BC9, 0x79CF,
        0x79EF, 0x7249, 0x7BEF, 0x7BCF, 0x0002,
    };
    for (char ch : s) {
      const int g = ch == '.' ? 10 : ch - '0';
      if (g < 0 || g > 10) {
        x += 8;
        continue;
      }
      for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 3; ++col)
          if (kGlyphs[g] >> (14 - (row * 3 + col)) & 1)
            for (int dy = 0; dy < 2; ++dy)
              for (int dx = 0; dx < 2; ++dx)
                Put(x + col * 2 + dx, y + row * 2 + dy, c);
      x += 8;
    }
  }
};

struct Series {
  std::vector<double> values;
  std::vector<size_t> at;           // the frame (pass) of each value, across
  std::vector<std::string> screens; // empty for a plain series
};

Series ReadSeries(const char *path) {
  Series s;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string a, b, c;
    if (!(words >> a))
      continue;
    if (words >> b >> c) {
      s.at.push_back(size_t(std::clamp(std::atof(a.c_str()), 0.0, 1e9)));
      s.screens.push_back(b);
      s.values.push_back(std::atof(c.c_str()));
    } else {
      s.at.push_back(s.values.size());
      s.values.push_back(std::atof(a.c_str()));
    }
  }
  return s;
}

// The band behind a pass that shows SCREEN; false for none (play).
bool BandColour(const std::string &screen, plat::Colour &c) {
  if (screen == "logo" || screen == "title" || screen == "title-fade")
    c = {226, 212, 246, 255};
  else if (screen == "menu" || screen == "menu-dialog")
    c = {212, 230, 250, 255};
  else if (screen == "countdown")
    c = {248, 240, 190, 255};
  else if (screen == "victory" || screen == "caught-banner")
    c = {252, 218, 180, 255};
  else if (screen == "dialog-over-level")
    c = {248, 202, 210, 255};
  else if (screen == "finale")
    c = {204, 238, 204, 255};
  else
    return false;
  return true;
}

std::vector<double> ReadGoals(const char *arg) {
  std::vector<double> goals;
  std::istringstream in(arg);
  std::string one;
  while (std::getline(in, one, ','))
    if (const double g = std::atof(one.c_str()); g > 0)
      goals.push_back(g);
  return goals;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: bench_frame_plot OUT.png Y_MAX_MS "
                         "GOAL_MS[,GOAL_MS...] SERIES.txt...\n");
    return 2;
  }
  const double yMax = std::max(1.0, std::atof(argv[2]));
  const std::vector<double> goals = ReadGoals(argv[3]);
  std::vector<Series> series;
  size_t frames = 1;
  for (int i = 4; i < argc; ++i) {
    series.push_back(ReadSeries(argv[i]));
    if (!series.back().at.empty())
      frames = std::max(frames, series.back().at.back() + 1);
  }
  const plat::Colour grid{225, 225, 225, 255}, axis{60, 60, 60, 255};
  const plat::Colour colours[] = {{31, 119, 180, 255},
                                  {255, 127, 14, 255},
                                  {44, 160, 44, 255},
                                  {148, 103, 189, 255}};
  auto yOf = [&](double ms) {
    const double f = std::clamp(ms / yMax, 0.0, 1.0);
    return kTop + kPlotH - int(std::lround(f * kPlotH));
  };
  auto xOf = [&](size_t i) {
    return kLeft + int(double(i) * (kPlotW - 1) / double(frames));
  };

  Canvas c;
  for (const Series &s : series) {
    if (s.screens.empty())
      continue;
    for (size_t i = 0; i < s.screens.size(); ++i) {
      plat::Colour band;
      if (BandColour(s.screens[i], band))
        for (int x = xOf(s.at[i]); x <= xOf(s.at[i] + 1); ++x)
          c.VLine(x, kTop, kTop + kPlotH - 1, band);
    }
    break;
  }
  const int step = yMax > 20 ? 5 : 1;
  for (int ms = 0; ms <= int(yMax); ms += step) {
    c.HLine(kLeft, kLeft + kPlotW - 1, yOf(ms), grid);
    const std::string label = std::to_string(ms);
    c.Text(kLeft - 8 - 8 * int(label.size()), yOf(ms) - 5, label, axis);
  }
  const size_t xStep = frames > 5000 ? 1000 : frames > 1000 ? 500 : 100;
  for (size_t f = 0; f <= frames; f += xStep) {
    c.VLine(xOf(f), kTop + kPlotH, kTop + kPlotH + 5, axis);
    const std::string label = std::to_string(f);
    c.Text(xOf(f) - 4 * int(label.size()), kTop + kPlotH + 12, label, axis);
  }
  for (size_t s = 0; s < series.size(); ++s) {
    const plat::Colour col = colours[s % 4];
    const std::vector<double> &v = series[s].values;
    const std::vector<size_t> &at = series[s].at;
    for (size_t i = 1; i < v.size(); ++i) {
      const int x0 = xOf(at[i - 1]), x1 = xOf(at[i]);
      for (int x = x0; x <= x1; ++x)
        c.VLine(x, yOf(v[i - 1]), yOf(v[i]), col);
    }
  }
  for (double goal : goals)
    c.HLine(kLeft, kLeft + kPlotW - 1, yOf(goal), {214, 39, 40, 255}, 6);
  c.VLine(kLeft, kTop, kTop + kPlotH, axis);
  c.HLine(kLeft, kLeft + kPlotW - 1, kTop + kPlotH, axis);
  // A whole game's goals are about its slowest passes: each run of passes
  // cut at the top gets its highest figure written beside it, on the
  // first of three rows with room.
  std::vector<bool> taken[3];
  for (auto &row : taken)
    row.assign(kWidth, false);
  for (size_t s = 0; s < series.size(); ++s) {
    const std::vector<double> &v = series[s].values;
    if (series[s].screens.empty())
      continue;
    for (size_t i = 0; i < v.size();) {
      if (v[i] <= yMax) {
        ++i;
        continue;
      }
      size_t top = i;
      for (; i < v.size() && v[i] > yMax; ++i)
        if (v[i] > v[top])
          top = i;
      const std::string label = std::to_string(int(std::lround(v[top])));
      const int w = 8 * int(label.size());
      const int x = std::min(xOf(series[s].at[top]) + 3, kWidth - w);
      for (int row = 0; row < 3; ++row) {
        const auto from = taken[row].begin() + x,
                   to = taken[row].begin() + std::min(x + w + 4, kWidth);
        if (std::find(from, to, true) != to)
          continue;
        std::fill(from, to, true);
        c.Text(x, kTop + 2 + 13 * row, label, colours[s % 4]);
        break;
      }
    }
  }

  std::vector<uint8_t> png;
  if (!plat::EncodePng(c.pic, png)) {
    std::fprintf(stderr, "the PNG encoder failed\n");
    return 1;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char *>(png.data()),
            std::streamsize(png.size()));
  return out ? 0 : 1;
}
