// platform_collision_test.cpp — pixel collision on the displayed rectangles
// with the whole loaded picture as mask, whatever the clip.
#include "platform/pictures.h"
#include "platform/sprites.h"
#include "platform_helpers.h"

using namespace plat_test;

namespace {

using CollisionTest = ScreenTest;

constexpr unsigned kMask = plat::kSpriteAlpha | plat::kSpriteCollision;

TEST_F(CollisionTest, OnlyOverlappingPixelsOfAlpha255Collide) {
  plat::Picture left = Solid(4, 4, {0, 0, 0, 0});
  plat::Picture right = Solid(4, 4, {0, 0, 0, 0});
  for (int y = 0; y < 4; ++y) {
    SetPixel(left, 0, y, {5, 5, 5, 255});
    SetPixel(left, 1, y, {5, 5, 5, 254}); // nearly solid is not solid
    SetPixel(right, 2, y, {5, 5, 5, 255});
    SetPixel(right, 3, y, {5, 5, 5, 255});
  }
  const plat::Picture solid = Solid(4, 4, {9, 9, 9, 255});
  ASSERT_EQ(Load(1, solid, kMask), 1);
  ASSERT_EQ(Load(2, solid, kMask), 2);
  ASSERT_EQ(Load(3, left, kMask), 3);
  ASSERT_EQ(Load(4, right, kMask), 4);
  ASSERT_EQ(Load(5, solid, plat::kSpriteAlpha), 5); // no mask
  // Sprite, x, y, sprite, x, y, whether they collide.
  const int cases[][7] = {{1, 0, 0, 2, 3, 3, 1},   {2, 3, 3, 1, 0, 0, 1},
                          {1, 0, 0, 2, 4, 0, 0},   {1, 0, 0, 2, 0, 4, 0},
                          {1, 0, 0, 2, -4, -4, 0}, {3, 0, 0, 4, 0, 0, 0},
                          {3, 0, 0, 4, -1, 0, 0},  {3, 0, 0, 4, -2, 0, 1},
                          {1, 0, 0, 5, 0, 0, 0},   {1, 0, 0, 77, 0, 0, 0}};
  for (const auto &c : cases)
    EXPECT_EQ(plat::SpriteCollision(c[0], c[1], c[2], c[3], c[4], c[5]),
              c[6] != 0)
        << c[0] << " at " << c[1] << "," << c[2] << " with " << c[3] << " at "
        << c[4] << "," << c[5];
}

TEST_F(CollisionTest, TheMaskIsTheWholePictureScaledOntoTheDisplay) {
  // A strip of two 4x4 frames: the left one solid, the right one empty.
  plat::Picture strip = Solid(8, 4, {0, 0, 0, 0});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      SetPixel(strip, x, y, {7, 7, 7, 255});
  ASSERT_EQ(Load(1, strip, kMask), 1);
  ASSERT_EQ(Load(2, Solid(1, 1, {1, 1, 1, 255}), kMask), 2);
  // Showing the empty frame changes nothing: the whole strip is squeezed
  // into the 4x4 displayed square, solid in its left half.
  plat::ClipSprite(1, 4, 0, 4, 4);
  EXPECT_TRUE(plat::SpriteCollision(1, 0, 0, 2, 1, 2));
  EXPECT_FALSE(plat::SpriteCollision(1, 0, 0, 2, 2, 2));
  EXPECT_FALSE(plat::SpriteCollision(1, 0, 0, 2, 3, 0));
  // Zoomed to 16x16, the solid half spans x 0..7.
  plat::ZoomSprite(1, 16, 16);
  EXPECT_TRUE(plat::SpriteCollision(1, 10, 10, 2, 17, 25));
  EXPECT_FALSE(plat::SpriteCollision(1, 10, 10, 2, 18, 25));
  EXPECT_FALSE(plat::SpriteCollision(1, 10, 10, 2, 17, 26));
  // Both zoomed: two 96-pixel strips shown at 48 overlap by one pixel.
  ASSERT_EQ(Load(3, Solid(384, 96, {3, 3, 3, 255}), kMask), 3);
  ASSERT_EQ(Load(4, Solid(384, 96, {3, 3, 3, 255}), kMask), 4);
  plat::ZoomSprite(3, 48, 48);
  plat::ZoomSprite(4, 48, 48);
  EXPECT_TRUE(plat::SpriteCollision(3, 100, 100, 4, 147, 100));
  EXPECT_FALSE(plat::SpriteCollision(3, 100, 100, 4, 148, 100));
  // Shrunk to one pixel, a mask is read at that pixel's centre.
  plat::Picture corner = Solid(2, 2, {0, 0, 0, 0});
  SetPixel(corner, 1, 1, {1, 1, 1, 255});
  ASSERT_EQ(Load(5, corner, kMask), 5);
  plat::ZoomSprite(5, 1, 1);
  EXPECT_TRUE(plat::SpriteCollision(5, 0, 0, 2, 0, 0));
}

} // namespace
