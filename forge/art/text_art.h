// text_art.h — display lettering: text as paths, painted in layers.
#pragma once

#include "colour.h"

#include <cairo.h>

#include <string>
#include <vector>

namespace art {

// The faces the forge may use; each is checked against what fontconfig
// really matched, so a missing font stops the forge instead of silently
// changing the pictures.
enum class Face {
  SansBold,       // Liberation Sans Bold
  SansBoldItalic, // Liberation Sans Bold Italic
  SerifBold,      // Liberation Serif Bold
  SerifItalic,    // Liberation Serif Italic
  DisplayBold,    // DejaVu Sans Bold
  CondensedBold,  // DejaVu Sans Condensed Bold
};

// Throws unless every face resolves to its intended family.
void CheckFonts();

// One letter (or the whole text) as a path whose origin is the text's
// logical top-left, plus its ink box in the same coordinates.
struct Glyph {
  cairo_path_t *path = nullptr;
  double x = 0; // logical left of this letter within the text
  double inkX = 0, inkY = 0, inkW = 0, inkH = 0;
  std::string text;
};

struct TextShape {
  std::vector<Glyph> letters; // one per character (spaces included)
  Glyph whole;
  double width = 0;  // logical width
  double height = 0; // logical height
  TextShape() = default;
  TextShape(const TextShape &) = delete;
  TextShape &operator=(const TextShape &) = delete;
  TextShape(TextShape &&other) noexcept;
  TextShape &operator=(TextShape &&other) noexcept;
  ~TextShape();
};

// `spacing` adds pixels between letters.
TextShape MakeText(const std::string &text, Face face, double px,
                   double spacing = 0);

// Font size at which `text` is `width` pixels wide (logical width).
double SizeForWidth(const std::string &text, Face face, double width,
                    double spacing = 0);

// How the lettering is painted, back to front: glow, shadow, halo, outline,
// rim, fill gradient (top to bottom of the ink), bevel, gloss.
struct TextStyle {
  Rgba fillTop = Rgb8(255, 255, 255);
  Rgba fillMid = Rgb8(255, 255, 255);
  Rgba fillBottom = Rgb8(255, 255, 255);
  Rgba outline = Rgb8(20, 20, 30);
  double outlineWidth = 0; // total stroke width; half lies outside the fill
  Rgba rim = Rgb8(255, 255, 255);
  double rimWidth = 0;
  Rgba shadow = Rgb8(0, 0, 0, 0.6);
  double shadowDx = 0, shadowDy = 0, shadowBlur = 0;
  Rgba glow = Rgb8(255, 255, 255, 0);
  double glowRadius = 0;
  double glowSpread = 0;              // extra stroke width under the glow
  Rgba halo = Rgb8(255, 255, 255, 0); // flat band around the outline
  double haloWidth = 0;               // its width beyond the outline
  double bevel = 0;                   // depth in pixels of the light/dark edge
  double gloss = 0; // opacity of the white sheen on the upper half
};

// Where and how one letter is drawn: its box centre moves to (cx, cy) and
// it is scaled and turned about that centre.
struct LetterPose {
  bool visible = true;
  double dx = 0, dy = 0; // offset from the letter's place in the text
  double scale = 1;
  double angle = 0; // radians
  double opacity = 1;
};

// Draws the text with its logical top-left at (x, y). `poses` may be empty
// (all letters in place) or hold one pose per letter. The canvas size is
// needed for the blurred layers.
void DrawText(cairo_t *cr, int canvasW, int canvasH, const TextShape &shape,
              double x, double y, const TextStyle &style,
              const std::vector<LetterPose> &poses = {});

} // namespace art
