// text_art.cpp — pango text turned into paths and painted in layers.
#include "text_art.h"

#include "blur.h"

#include <pango/pangocairo.h>

#include <cmath>
#include <stdexcept>

namespace art {

namespace {

struct FaceInfo {
  const char *family;
  PangoWeight weight;
  PangoStyle style;
  PangoStretch stretch;
};

FaceInfo InfoFor(Face face) {
  switch (face) {
  case Face::SansBold:
    return {"Liberation Sans", PANGO_WEIGHT_BOLD, PANGO_STYLE_NORMAL,
            PANGO_STRETCH_NORMAL};
  case Face::SansBoldItalic:
    return {"Liberation Sans", PANGO_WEIGHT_BOLD, PANGO_STYLE_ITALIC,
            PANGO_STRETCH_NORMAL};
  case Face::SerifBold:
    return {"Liberation Serif", PANGO_WEIGHT_BOLD, PANGO_STYLE_NORMAL,
            PANGO_STRETCH_NORMAL};
  case Face::SerifItalic:
    return {"Liberation Serif", PANGO_WEIGHT_NORMAL, PANGO_STYLE_ITALIC,
            PANGO_STRETCH_NORMAL};
  case Face::DisplayBold:
    return {"DejaVu Sans", PANGO_WEIGHT_BOLD, PANGO_STYLE_NORMAL,
            PANGO_STRETCH_NORMAL};
  case Face::CondensedBold:
    return {"DejaVu Sans", PANGO_WEIGHT_BOLD, PANGO_STYLE_NORMAL,
            PANGO_STRETCH_CONDENSED};
  }
  throw std::logic_error("unknown face");
}

PangoFontDescription *Describe(Face face, double px) {
  FaceInfo info = InfoFor(face);
  PangoFontDescription *d = pango_font_description_new();
  pango_font_description_set_family(d, info.family);
  pango_font_description_set_weight(d, info.weight);
  pango_font_description_set_style(d, info.style);
  pango_font_description_set_stretch(d, info.stretch);
  pango_font_description_set_absolute_size(d, px * PANGO_SCALE);
  return d;
}

// A scratch context for measuring and path building; unhinted outlines so
// the shapes do not depend on a hinting setting.
struct Scratch {
  cairo_surface_t *surface;
  cairo_t *cr;
  PangoLayout *layout;
  Scratch() {
    // Unbounded, so glyphs far from the origin are not culled when the
    // path is built.
    surface = cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr);
    cr = cairo_create(surface);
    layout = pango_cairo_create_layout(cr);
    cairo_font_options_t *fo = cairo_font_options_create();
    cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(fo, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout), fo);
    pango_layout_context_changed(layout);
    cairo_font_options_destroy(fo);
  }
  ~Scratch() {
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  void Set(const std::string &text, Face face, double px, double spacing) {
    PangoFontDescription *d = Describe(face, px);
    pango_layout_set_font_description(layout, d);
    pango_font_description_free(d);
    PangoAttrList *attrs = pango_attr_list_new();
    if (spacing != 0)
      pango_attr_list_insert(attrs,
                             pango_attr_letter_spacing_new(
                                 static_cast<int>(spacing * PANGO_SCALE)));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
    pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
  }
  Glyph PathAt(double x) {
    Glyph g;
    cairo_new_path(cr);
    cairo_move_to(cr, x, 0);
    pango_cairo_layout_path(cr, layout);
    g.path = cairo_copy_path(cr);
    double x1, y1, x2, y2;
    cairo_fill_extents(cr, &x1, &y1, &x2, &y2);
    g.x = x;
    g.inkX = x1;
    g.inkY = y1;
    g.inkW = x2 - x1;
    g.inkH = y2 - y1;
    cairo_new_path(cr);
    return g;
  }
};

void AppendPosed(cairo_t *cr, const Glyph &g, double x, double y,
                 const LetterPose &pose) {
  cairo_save(cr);
  double cx = x + g.inkX + g.inkW / 2;
  double cy = y + g.inkY + g.inkH / 2;
  cairo_translate(cr, cx + pose.dx, cy + pose.dy);
  cairo_rotate(cr, pose.angle);
  cairo_scale(cr, pose.scale, pose.scale);
  cairo_translate(cr, -cx + x, -cy + y);
  cairo_append_path(cr, g.path);
  cairo_restore(cr);
}

// Sets the letter's own transformation so fills can use ink coordinates.
void EnterLetter(cairo_t *cr, const Glyph &g, double x, double y,
                 const LetterPose &pose) {
  double cx = x + g.inkX + g.inkW / 2;
  double cy = y + g.inkY + g.inkH / 2;
  cairo_translate(cr, cx + pose.dx, cy + pose.dy);
  cairo_rotate(cr, pose.angle);
  cairo_scale(cr, pose.scale, pose.scale);
  cairo_translate(cr, -cx + x, -cy + y);
}

void StrokeOutline(cairo_t *cr, double width) {
  cairo_set_line_width(cr, width);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
}

struct Job {
  cairo_t *cr;
  int w, h;
  const TextShape &shape;
  double x, y;
  const TextStyle &st;
};

void AppendAll(const Job &job, cairo_t *cr,
               const std::vector<const LetterPose *> &poses,
               const std::vector<size_t> &which) {
  for (size_t i : which)
    AppendPosed(cr, job.shape.letters[i], job.x, job.y, *poses[i]);
}

// Every layer for the listed letters.
void PaintLetters(const Job &job, const std::vector<const LetterPose *> &poses,
                  const std::vector<size_t> &which) {
  cairo_t *cr = job.cr;
  const TextStyle &st = job.st;
  double outline = st.outlineWidth;
  if (st.glowRadius > 0 && st.glow.a > 0) {
    PaintBlurred(cr, job.w, job.h, st.glowRadius, st.glow, [&](cairo_t *m) {
      AppendAll(job, m, poses, which);
      cairo_fill_preserve(m);
      StrokeOutline(m, outline + st.glowSpread);
      cairo_stroke(m);
    });
  }
  if (st.shadow.a > 0 &&
      (st.shadowDx != 0 || st.shadowDy != 0 || st.shadowBlur > 0)) {
    auto shadow = [&](cairo_t *m) {
      cairo_save(m);
      cairo_translate(m, st.shadowDx, st.shadowDy);
      AppendAll(job, m, poses, which);
      cairo_restore(m);
      cairo_fill_preserve(m);
      if (outline > 0) {
        StrokeOutline(m, outline);
        cairo_stroke(m);
      }
      cairo_new_path(m);
    };
    if (st.shadowBlur > 0) {
      PaintBlurred(cr, job.w, job.h, st.shadowBlur, st.shadow, shadow);
    } else {
      cairo_save(cr);
      SetColour(cr, st.shadow);
      shadow(cr);
      cairo_restore(cr);
    }
  }
  if (st.haloWidth > 0 && st.halo.a > 0) {
    cairo_save(cr);
    AppendAll(job, cr, poses, which);
    SetColour(cr, st.halo);
    StrokeOutline(cr, outline + 2 * st.haloWidth);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  if (outline > 0) {
    cairo_save(cr);
    AppendAll(job, cr, poses, which);
    SetColour(cr, st.outline);
    StrokeOutline(cr, outline);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  if (st.rimWidth > 0) {
    cairo_save(cr);
    AppendAll(job, cr, poses, which);
    SetColour(cr, st.rim);
    StrokeOutline(cr, st.rimWidth);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  for (size_t i : which) {
    const Glyph &g = job.shape.letters[i];
    if (g.inkW <= 0)
      continue;
    cairo_save(cr);
    EnterLetter(cr, g, job.x, job.y, *poses[i]);
    cairo_append_path(cr, g.path);
    cairo_pattern_t *grad =
        cairo_pattern_create_linear(0, g.inkY, 0, g.inkY + g.inkH);
    AddStop(grad, 0, st.fillTop);
    AddStop(grad, 0.5, st.fillMid);
    AddStop(grad, 1, st.fillBottom);
    cairo_set_source(cr, grad);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(grad);
    cairo_clip(cr);
    if (st.bevel > 0) {
      double b = st.bevel;
      cairo_save(cr);
      cairo_translate(cr, b, b);
      cairo_append_path(cr, g.path);
      cairo_restore(cr);
      cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
      cairo_set_line_width(cr, 2 * b);
      cairo_stroke(cr);
      cairo_save(cr);
      cairo_translate(cr, -b, -b);
      cairo_append_path(cr, g.path);
      cairo_restore(cr);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
      cairo_set_line_width(cr, 2 * b);
      cairo_stroke(cr);
    }
    if (st.gloss > 0) {
      double top = g.inkY - g.inkH * 0.1;
      double mid = g.inkY + g.inkH * 0.48;
      cairo_pattern_t *sheen = cairo_pattern_create_linear(0, top, 0, mid);
      cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, st.gloss);
      cairo_pattern_add_color_stop_rgba(sheen, 1, 1, 1, 1, st.gloss * 0.25);
      cairo_set_source(cr, sheen);
      // A gently curved lower edge reads as a reflection, not a stripe.
      cairo_move_to(cr, g.inkX - 10, top);
      cairo_line_to(cr, g.inkX + g.inkW + 10, top);
      cairo_line_to(cr, g.inkX + g.inkW + 10, mid - g.inkH * 0.06);
      cairo_curve_to(cr, g.inkX + g.inkW * 0.6, mid + g.inkH * 0.04,
                     g.inkX + g.inkW * 0.4, mid - g.inkH * 0.02, g.inkX - 10,
                     mid + g.inkH * 0.05);
      cairo_close_path(cr);
      cairo_fill(cr);
      cairo_pattern_destroy(sheen);
    }
    cairo_restore(cr);
  }
}

} // namespace

void CheckFonts() {
  PangoFontMap *map = pango_cairo_font_map_get_default();
  PangoContext *ctx = pango_font_map_create_context(map);
  for (Face f : {Face::SansBold, Face::SansBoldItalic, Face::SerifBold,
                 Face::SerifItalic, Face::DisplayBold, Face::CondensedBold}) {
    PangoFontDescription *want = Describe(f, 40);
    PangoFont *font = pango_font_map_load_font(map, ctx, want);
    PangoFontDescription *got =
        font ? pango_font_describe(font) : pango_font_description_new();
    std::string family = pango_font_description_get_family(got)
                             ? pango_font_description_get_family(got)
                             : "";
    bool ok = family == InfoFor(f).family &&
              pango_font_description_get_weight(got) ==
                  pango_font_description_get_weight(want) &&
              pango_font_description_get_style(got) ==
                  pango_font_description_get_style(want);
    pango_font_description_free(got);
    pango_font_description_free(want);
    if (font)
      g_object_unref(font);
    if (!ok) {
      g_object_unref(ctx);
      throw std::runtime_error(std::string("font not installed: ") +
                               InfoFor(f).family + " (found " + family + ")");
    }
  }
  g_object_unref(ctx);
}

TextShape::TextShape(TextShape &&o) noexcept
    : letters(std::move(o.letters)), whole(o.whole), width(o.width),
      height(o.height) {
  o.letters.clear();
  o.whole.path = nullptr;
}

TextShape &TextShape::operator=(TextShape &&o) noexcept {
  // The old paths go with `o` and are freed by its destructor.
  std::swap(letters, o.letters);
  std::swap(whole, o.whole);
  width = o.width;
  height = o.height;
  return *this;
}

TextShape::~TextShape() {
  for (Glyph &g : letters)
    if (g.path)
      cairo_path_destroy(g.path);
  if (whole.path)
    cairo_path_destroy(whole.path);
}

TextShape MakeText(const std::string &text, Face face, double px,
                   double spacing) {
  Scratch s;
  TextShape shape;
  s.Set(text, face, px, spacing);
  int lw, lh;
  pango_layout_get_size(s.layout, &lw, &lh);
  shape.width = static_cast<double>(lw) / PANGO_SCALE;
  shape.height = static_cast<double>(lh) / PANGO_SCALE;
  shape.whole = s.PathAt(0);
  shape.whole.text = text;
  std::vector<std::pair<int, double>> starts;
  for (const char *p = text.c_str(); *p; p = g_utf8_next_char(p)) {
    int index = static_cast<int>(p - text.c_str());
    PangoRectangle pos;
    pango_layout_index_to_pos(s.layout, index, &pos);
    // Letter spacing is shared out half before and half after each letter;
    // the letter's own path starts after its half.
    starts.emplace_back(index,
                        static_cast<double>(pos.x) / PANGO_SCALE + spacing / 2);
  }
  for (size_t i = 0; i < starts.size(); ++i) {
    size_t begin = static_cast<size_t>(starts[i].first);
    size_t end = i + 1 < starts.size()
                     ? static_cast<size_t>(starts[i + 1].first)
                     : text.size();
    std::string one = text.substr(begin, end - begin);
    s.Set(one, face, px, 0);
    Glyph g = s.PathAt(starts[i].second);
    g.text = one;
    shape.letters.push_back(g);
  }
  return shape;
}

double SizeForWidth(const std::string &text, Face face, double width,
                    double spacing) {
  Scratch s;
  const double probe = 100;
  s.Set(text, face, probe, 0);
  int lw, lh;
  pango_layout_get_size(s.layout, &lw, &lh);
  double count = static_cast<double>(g_utf8_strlen(text.c_str(), -1));
  double natural = static_cast<double>(lw) / PANGO_SCALE;
  // Spacing does not scale with the size; take it off before scaling. It
  // falls between letters only, not at the two ends.
  return probe * (width - spacing * (count - 1)) / natural;
}

void DrawText(cairo_t *cr, int canvasW, int canvasH, const TextShape &shape,
              double x, double y, const TextStyle &style,
              const std::vector<LetterPose> &poses) {
  static const LetterPose kPlain;
  std::vector<const LetterPose *> pose(shape.letters.size(), &kPlain);
  for (size_t i = 0; i < poses.size() && i < pose.size(); ++i)
    pose[i] = &poses[i];
  Job job{cr, canvasW, canvasH, shape, x, y, style};
  std::vector<size_t> solid;
  for (size_t i = 0; i < pose.size(); ++i) {
    if (!pose[i]->visible || pose[i]->opacity <= 0 || pose[i]->scale <= 0)
      continue;
    if (pose[i]->opacity >= 1) {
      solid.push_back(i);
      continue;
    }
    // A fading letter is painted on its own so its layers fade together.
    cairo_push_group(cr);
    PaintLetters(job, pose, {i});
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, pose[i]->opacity);
  }
  if (!solid.empty())
    PaintLetters(job, pose, solid);
}

} // namespace art
