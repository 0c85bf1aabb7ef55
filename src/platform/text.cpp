// text.cpp — fonts matched through fontconfig and antialiased vector text
// with pango: single lines at the path cursor, wrapped paragraphs, extents.
#include "platform/text.h"
#include "platform/core.h"
#include "platform/internal.h"

#include <cmath>

namespace plat {

using detail::DrawState;
using detail::Font;
using detail::State;

namespace detail {

void ReleaseText() {
  TextState &t = State().text;
  t.context.reset(); // it holds the font map
  t.fontMap.reset();
}

} // namespace detail

namespace {

// Points to pixels at 96 dots per inch, as on the desktops the sizes were
// chosen for.
constexpr double kDpi = 96.0;

PangoContext *Context() {
  detail::TextState &t = State().text;
  if (!t.context) {
    t.fontMap.reset(pango_cairo_font_map_new());
    t.context.reset(pango_font_map_create_context(t.fontMap.get()));
    pango_cairo_context_set_resolution(t.context.get(), kDpi);
    // Greyscale antialiasing: colour fringes would show on transparent
    // cards; the same options for measuring and drawing keep extents true.
    cairo_font_options_t *o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(t.context.get(), o);
    cairo_font_options_destroy(o);
  }
  return t.context.get();
}

// A layout of the text in the current vector font (invalid UTF-8 is
// repaired rather than refused).
using LayoutPtr = detail::GObjectPtr<PangoLayout>;

LayoutPtr MakeLayout(const std::string &utf8) {
  DrawState &d = State().draw;
  PangoContext *ctx = Context();
  if (d.active)
    pango_cairo_update_context(d.cr.get(), ctx);
  LayoutPtr layout(pango_layout_new(ctx));
  if (Font *f = State().fonts.Get(d.font)) {
    detail::FontDescriptionPtr desc(pango_font_description_copy(f->desc.get()));
    if (d.pixelSize > 0)
      pango_font_description_set_absolute_size(
          desc.get(), std::round(d.pixelSize * PANGO_SCALE));
    pango_layout_set_font_description(layout.get(), desc.get());
  }
  gchar *valid = g_utf8_make_valid(utf8.data(), gssize(utf8.size()));
  pango_layout_set_text(layout.get(), valid, -1);
  g_free(valid);
  return layout;
}

void SetSource(cairo_t *cr, Colour c) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
}

} // namespace

int LoadFont(int number, const std::string &face, int points, bool bold) {
  detail::NumberTable<Font> &table = State().fonts;
  int n = table.Choose(number);
  if (n < 0)
    return -1;
  table.Free(n);
  if (face.empty() || points <= 0)
    return -1;
  auto font = std::make_unique<Font>();
  font->desc.reset(pango_font_description_new());
  PangoFontDescription *desc = font->desc.get();
  pango_font_description_set_family(desc, face.c_str());
  pango_font_description_set_weight(desc, bold ? PANGO_WEIGHT_BOLD
                                               : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_size(desc, points * PANGO_SCALE);
  // The face is matched when first asked for: the font map starts
  // fontconfig on a thread of its own, and the start-up goes on meanwhile.
  Context();
  table.Put(n, std::move(font));
  return n;
}

std::string FontFamily(int number) {
  Font *f = State().fonts.Get(number);
  if (!f)
    return {};
  if (!f->matched) {
    f->matched = true;
    PangoFont *font = pango_font_map_load_font(State().text.fontMap.get(),
                                               Context(), f->desc.get());
    if (!font) {
      // fontconfig falls back to any font it has: none at all is a broken
      // installation, not a missing face.
      detail::ReportFailure("pango_font_map_load_font", "no font at all");
      return {};
    }
    PangoFontDescription *got = pango_font_describe(font);
    const char *family = pango_font_description_get_family(got);
    f->family = family ? family : "";
    pango_font_description_free(got);
    g_object_unref(font);
  }
  return f->family;
}

void SetVectorFont(int font, double pixelSize) {
  DrawState &d = State().draw;
  d.font = font;
  d.pixelSize = pixelSize;
}

void SetVectorColour(Colour c) { State().draw.colour = c; }

void MovePathCursor(double x, double y) {
  State().draw.cursorX = x;
  State().draw.cursorY = y;
}

void DrawVectorText(const std::string &utf8) {
  DrawState &d = State().draw;
  if (!d.active)
    return;
  LayoutPtr layout = MakeLayout(utf8);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout.get(), &w, &h);
  cairo_t *cr = d.cr.get();
  cairo_save(cr);
  SetSource(cr, d.colour);
  cairo_move_to(cr, d.cursorX, d.cursorY);
  pango_cairo_show_layout(cr, layout.get());
  cairo_restore(cr);
  d.cursorX += w;
}

void DrawVectorParagraph(const std::string &utf8, double w, double h,
                         bool centred) {
  DrawState &d = State().draw;
  if (!d.active || w <= 0 || h <= 0)
    return;
  LayoutPtr layout = MakeLayout(utf8);
  pango_layout_set_width(layout.get(), int(std::lround(w * PANGO_SCALE)));
  pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  pango_layout_set_alignment(layout.get(),
                             centred ? PANGO_ALIGN_CENTER : PANGO_ALIGN_LEFT);
  cairo_t *cr = d.cr.get();
  cairo_save(cr);
  cairo_rectangle(cr, d.cursorX, d.cursorY, w, h);
  cairo_clip(cr);
  SetSource(cr, d.colour);
  cairo_move_to(cr, d.cursorX, d.cursorY);
  pango_cairo_show_layout(cr, layout.get());
  cairo_restore(cr);
}

double VectorTextWidth(const std::string &utf8) {
  LayoutPtr layout = MakeLayout(utf8);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout.get(), &w, &h);
  return w;
}

double VectorParagraphHeight(const std::string &utf8, double w) {
  if (w <= 0)
    return 0;
  LayoutPtr layout = MakeLayout(utf8);
  pango_layout_set_width(layout.get(), int(std::lround(w * PANGO_SCALE)));
  pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  int pw = 0, ph = 0;
  pango_layout_get_pixel_size(layout.get(), &pw, &ph);
  return ph;
}

double VectorTextBaseline(const std::string &utf8) {
  return pango_layout_get_baseline(MakeLayout(utf8).get()) /
         double(PANGO_SCALE);
}

void SetTextLanguage(const std::string &tag) {
  PangoContext *ctx = Context();
  // fontconfig's rules choose faces by the language alone ("ja", "ko"),
  // and for Chinese by the region too ("zh-cn", "zh-tw"): other regions
  // would match no rule.
  std::string lang = tag.substr(0, tag.find_first_of("-_"));
  if (lang == "zh")
    lang = tag;
  PangoLanguage *want = lang.empty() ? pango_language_get_default()
                                     : pango_language_from_string(lang.c_str());
  // Languages are interned: the same pointer is the same language. Setting
  // it again would drop the context's cached fonts for nothing.
  if (pango_context_get_language(ctx) != want)
    pango_context_set_language(ctx, want);
}

bool RightToLeft(const std::string &utf8) {
  LayoutPtr layout = MakeLayout(utf8);
  PangoLayoutLine *line = pango_layout_get_line_readonly(layout.get(), 0);
  return line != nullptr &&
         pango_layout_line_get_resolved_direction(line) == PANGO_DIRECTION_RTL;
}

int UnknownGlyphs(const std::string &utf8) {
  return pango_layout_get_unknown_glyphs_count(MakeLayout(utf8).get());
}

double VectorTextHeight(const std::string &utf8) {
  LayoutPtr layout = MakeLayout(utf8);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout.get(), &w, &h);
  return h;
}

} // namespace plat
