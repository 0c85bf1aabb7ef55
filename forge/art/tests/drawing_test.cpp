// drawing_test.cpp — drawings, lettering and the runner, by their effects.
#include "canvas.h"
#include "catalogue.h"
#include "characters.h"
#include "forge.h"
#include "shapes.h"
#include "text_art.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace {

using art::Canvas;
using art::Dir;

// Centroid of the darkest pixels (pupils, and most outlines) in the band of
// the frame where every character has its face.
void DarkCentroid(const art::Image &img, double &cx, double &cy) {
  double sx = 0, sy = 0, n = 0;
  for (int y = 24; y < 62; ++y)
    for (int x = 0; x < img.width; ++x) {
      const uint8_t *p =
          &img.rgba[(static_cast<size_t>(y) * img.width + x) * 4];
      if (p[3] == 255 && 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2] < 40) {
        sx += x;
        sy += y;
        ++n;
      }
    }
  ASSERT_GT(n, 20);
  cx = sx / n;
  cy = sy / n;
}

art::Image Render(int kind, Dir dir) {
  Canvas c(art::kFrameSize, art::kFrameSize);
  if (kind == 0)
    art::DrawPlayer(c.cr, dir, 0);
  else
    art::DrawMonster(c.cr, kind, dir, 0);
  return art::ToImage(c);
}

TEST(Characters, FacesTurnTowardsTheDirectionOfTravel) {
  for (int kind = 0; kind <= art::kMonsterKinds; ++kind) {
    SCOPED_TRACE(kind);
    double lx, ly, rx, ry;
    DarkCentroid(Render(kind, Dir::Left), lx, ly);
    DarkCentroid(Render(kind, Dir::Right), rx, ry);
    EXPECT_LT(lx + 1.5, rx);
    if (kind == 0)
      continue; // the player shows its back when going up
    double ux, uy, dx, dy;
    DarkCentroid(Render(kind, Dir::Up), ux, uy);
    DarkCentroid(Render(kind, Dir::Down), dx, dy);
    EXPECT_LT(uy + 1.0, dy);
  }
}

TEST(Characters, KindsDifferInColour) {
  // Mean colour of the solid body of each kind, compared pairwise.
  std::vector<std::array<double, 3>> means;
  for (int kind = 0; kind <= art::kMonsterKinds; ++kind) {
    art::Image img = Render(kind, Dir::Down);
    std::array<double, 3> sum{0, 0, 0};
    double n = 0;
    for (size_t i = 0; i < img.rgba.size(); i += 4)
      if (img.rgba[i + 3] == 255) {
        for (int c = 0; c < 3; ++c)
          sum[static_cast<size_t>(c)] += img.rgba[i + static_cast<size_t>(c)];
        ++n;
      }
    for (double &s : sum)
      s /= n;
    means.push_back(sum);
  }
  for (size_t a = 0; a < means.size(); ++a)
    for (size_t b = a + 1; b < means.size(); ++b) {
      double d = 0;
      for (size_t c = 0; c < 3; ++c)
        d += std::abs(means[a][c] - means[b][c]);
      EXPECT_GT(d, 60) << "kinds " << a << " and " << b;
    }
}

TEST(TextArt, PosesHideFadeAndMoveLetters) {
  art::TextShape t = art::MakeText("HH", art::Face::SansBold, 60);
  art::TextStyle style;
  style.fillTop = style.fillMid = style.fillBottom = art::Rgb8(255, 0, 0);
  const art::Glyph &second = t.letters[1];
  // A point inside the left stem of the second H.
  int px = static_cast<int>(second.inkX + 3) + 5;
  int py = static_cast<int>(second.inkY + second.inkH / 4) + 5;
  auto alphaAt = [&](const std::vector<art::LetterPose> &poses) {
    Canvas c(200, 100);
    art::DrawText(c.cr, 200, 100, t, 5, 5, style, poses);
    art::Image img = art::ToImage(c);
    return img.rgba[(static_cast<size_t>(py) * 200 + px) * 4 + 3];
  };
  std::vector<art::LetterPose> poses(2);
  EXPECT_EQ(alphaAt(poses), 255);
  poses[1].visible = false;
  EXPECT_EQ(alphaAt(poses), 0);
  poses[1].visible = true;
  poses[1].opacity = 0.5;
  EXPECT_NEAR(alphaAt(poses), 128, 2);
  poses[1].opacity = 1;
  poses[1].dy = 40;
  EXPECT_EQ(alphaAt(poses), 0);
}

TEST(Shapes, EasingCurvesStartAndEndInPlace) {
  for (auto ease : {+[](double t) { return art::EaseOutBack(t); },
                    +[](double t) { return art::EaseOutCubic(t); },
                    +[](double t) { return art::EaseInCubic(t); },
                    +[](double t) { return art::EaseInOutSine(t); },
                    +[](double t) { return art::EaseOutBounce(t); }}) {
    EXPECT_NEAR(ease(0), 0, 1e-9);
    EXPECT_NEAR(ease(1), 1, 1e-9);
    EXPECT_NEAR(ease(2), 1, 1e-9); // clamped
  }
  // The pop-in overshoots before it settles.
  EXPECT_GT(art::EaseOutBack(0.7), 1.0);
}

TEST(Catalogue, OnlyTheFullScreenPicturesGetTheLargeLimit) {
  EXPECT_EQ(art::LimitFor("title_16x9.png"), art::kLargeLimit);
  EXPECT_EQ(art::LimitFor("qirn_5x4.png"), art::kLargeLimit);
  EXPECT_EQ(art::LimitFor("logo.png"), art::kEntryLimit);
  EXPECT_EQ(art::LimitFor("victory_33.png"), art::kEntryLimit);
  std::set<std::string> jobs;
  for (const art::Job &j : art::Catalogue())
    EXPECT_TRUE(jobs.insert(j.what).second) << j.what;
}

TEST(Forge, PartialRunsWriteNoEntryList) {
  namespace fs = std::filesystem;
  std::string dir = (fs::temp_directory_path() /
                     ("forge_art_part_" + std::to_string(getpid())))
                        .string();
  art::ForgeResult r = art::Forge(dir, 2, "panel");
  EXPECT_TRUE(r.errors.empty());
  ASSERT_EQ(r.entries.size(), 4u);
  EXPECT_EQ(r.entries[0].name, "star.png");
  EXPECT_EQ(r.entries[3].name, "shadow.png");
  EXPECT_FALSE(fs::exists(dir + "/entries.list"));
  fs::remove_all(dir);
}

} // namespace
