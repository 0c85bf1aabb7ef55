// shapes.h — cairo paths the picture forge and the maps forge both draw.
#pragma once

#include <cairo.h>

namespace common {

// A rectangle with round corners of radius r, as a closed sub-path; r is
// held to half the shorter side, so the corners never overlap.
void RoundedRect(cairo_t *cr, double x, double y, double w, double h, double r);

} // namespace common
