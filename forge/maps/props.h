// props.h — the tiles drawn over the ground: dot, cherry, the house doors
// and the decorations of each theme, with their animation frames.
#pragma once

#include "canvas.h"
#include "themes.h"

namespace forge {

Pixels PaintDot();
Pixels PaintCherry();
// value is one of the door values 58 to 65.
Pixels PaintDoor(int value);
// All frames side by side.
Pixels PaintDecoration(const Theme &theme, const Decoration &decoration);

} // namespace forge
