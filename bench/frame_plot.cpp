// frame_plot.cpp — draws per-frame timings as a PNG line chart: frame
// number across, milliseconds up, one colour per series (blue, orange,
// green, purple in argument order), a red line at the goal, a grey line
// every millisecond (every 5 when the scale is tall), digits on the axes.
//
//   bench_frame_plot OUT.png Y_MAX_MS GOAL_MS SERIES.txt...
//
// A series file holds one figure a line, as bench_frame_cpu --samples
// writes them.
#include "platform/core.h"
#include "platform/pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
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

std::vector<double> ReadSeries(const char *path) {
  std::vector<double> v;
  std::ifstream in(path);
  double d;
  while (in >> d)
    v.push_back(d);
  return v;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: bench_frame_plot OUT.png Y_MAX_MS GOAL_MS "
                         "SERIES.txt...\n");
    return 2;
  }
  const double yMax = std::max(1.0, std::atof(argv[2]));
  const double goal = std::atof(argv[3]);
  std::vector<std::vector<double>> series;
  size_t frames = 1;
  for (int i = 4; i < argc; ++i) {
    series.push_back(ReadSeries(argv[i]));
    frames = std::max(frames, series.back().size());
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
    const std::vector<double> &v = series[s];
    for (size_t i = 1; i < v.size(); ++i) {
      const int x0 = xOf(i - 1), x1 = xOf(i);
      for (int x = x0; x <= x1; ++x)
        c.VLine(x, yOf(v[i - 1]), yOf(v[i]), col);
    }
  }
  if (goal > 0)
    c.HLine(kLeft, kLeft + kPlotW - 1, yOf(goal), {214, 39, 40, 255}, 6);
  c.VLine(kLeft, kTop, kTop + kPlotH, axis);
  c.HLine(kLeft, kLeft + kPlotW - 1, kTop + kPlotH, axis);

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
