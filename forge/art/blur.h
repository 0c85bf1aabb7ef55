// blur.h — soft glows and shadows: a blurred, tinted copy of a shape.
#pragma once

#include "colour.h"

#include <cairo.h>

#include <functional>

namespace art {

// Three box passes each way approximate a gaussian of about `radius`
// standard deviations; works on A8 and ARGB32 image surfaces in place.
void BlurSurface(cairo_surface_t *surface, double radius);

// Paints onto `cr` a blurred silhouette of what `shape` draws, tinted with
// `colour`. `shape` draws into a fresh w x h A8 surface with cr's current
// transformation, so callers use the same coordinates as for `cr`.
void PaintBlurred(cairo_t *cr, int w, int h, double radius, Rgba colour,
                  const std::function<void(cairo_t *)> &shape);

} // namespace art
