// screenshot.h — what a screenshot needs: the drawn frame kept as a sprite
// and a sprite written as a bitmap file.
#pragma once

#include <string>

namespace plat {

// A new sprite holding that rectangle of the frame drawn so far.
bool GrabSprite(int number, int x, int y, int w, int h);
// Writes the sprite as a 24-bit BMP file.
bool SaveSpriteBmp(int number, const std::string &path);

} // namespace plat
