// floors.h — the opaque ground tiles: plain floor, its variants and the
// floor of the monster house.
#pragma once

#include "canvas.h"
#include "themes.h"

namespace forge {

// variant 0 is plain ground; 1 to 3 add small details.
Pixels PaintFloor(const Theme &theme, int variant);
Pixels PaintHouseFloor(const Theme &theme);

// An antialiased disc of colour c over dst.
void Disc(Pixels &dst, float cx, float cy, float r, Rgb c, float alpha);

} // namespace forge
