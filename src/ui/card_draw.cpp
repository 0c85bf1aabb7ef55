// card_draw.cpp — the common rendering steps of the dialog cards.
#include "ui/card_draw.h"
#include "platform/core.h"
#include "platform/images.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kUiFont = 0;

// In measuring mode: a text wider or taller than the room it has.
void Check(const CardPen &pen, const std::string &what, const std::string &text,
           double need, double room) {
  if (pen.overflows != nullptr && need > room)
    pen.overflows->push_back(
        "card " + std::to_string(pen.sprite) + ", " + what + " \"" + text +
        "\": " + std::to_string(static_cast<int>(std::ceil(need))) + " > " +
        std::to_string(static_cast<int>(std::floor(room))));
}

} // namespace

CardColours MenuColours() {
  CardColours c;
  c.background = {44, 68, 40, 255};
  c.titleBar = {122, 196, 110, 255};
  c.titleText = {44, 68, 40, 255};
  c.entry = {240, 241, 122, 255};
  return c;
}

CardColours LevelColours(const Play &play) {
  if (play.current < 0 || play.current >= static_cast<int>(play.levels.size()))
    return MenuColours();
  const LevelRecord &level = play.levels[play.current];
  CardColours c;
  c.background = level.colours[0];
  c.entry = level.colours[1];
  c.titleBar = level.colours[2];
  c.titleText = level.colours[3];
  return c;
}

int RoundHalfEven(double value) {
  return static_cast<int>(std::nearbyint(value)); // default mode: to even
}

int TitleFontSize(const DialogLayout &layout) {
  return RoundHalfEven(layout.titleBar / 1.7);
}

int SmallFontSize(const DialogLayout &layout) {
  return RoundHalfEven(layout.baseFont / 2.5);
}

bool RightToLeft(const Languages &lang) {
  return plat::RightToLeft(Text(lang, "tLangFileNAME"));
}

bool BeginCard(CardPen &pen, int sprite, const CardPlace &place,
               const CardSources &src, const CardColours &colours,
               TitleStyle style, const std::string &title) {
  const DialogLayout &layout = src.layout;
  pen.sprite = sprite;
  pen.width = place.w;
  pen.height = place.h;
  pen.layout = &layout;
  pen.colours = colours;
  pen.overflows = src.overflows;
  if (place.w <= 0 || place.h <= 0)
    return false;
  // The card's texts are in its language: Chinese characters then take
  // the faces Japanese or Chinese readers expect.
  plat::SetTextLanguage(Text(src.lang, "tLangFileLANGID"));
  pen.rightToLeft = RightToLeft(src.lang);
  if (pen.overflows == nullptr) {
    if (!plat::BeginDraw(plat::Target::Sprite, sprite))
      return false;
    plat::Box(0, 0, place.w, place.h, colours.background);
  }
  if (style == TitleStyle::None)
    return true;
  const int t = layout.titleBar;
  if (pen.overflows == nullptr)
    plat::Box(0, 0, place.w, t, colours.titleBar);
  plat::SetVectorFont(kUiFont, TitleFontSize(layout));
  plat::SetVectorColour(colours.titleText);
  const double h = plat::VectorTextHeight(title);
  Check(pen, "title", title,
        plat::VectorTextWidth(style == TitleStyle::Left ? " " + title : title),
        place.w);
  Check(pen, "title height", title, h, t);
  if (style == TitleStyle::Left) {
    // One space before the title; the height is the title's own. From the
    // right the space leads too, so the title ends one space from the edge.
    const double x =
        pen.rightToLeft ? place.w - plat::VectorTextWidth(" " + title) : 0;
    plat::MovePathCursor(x, t / 2.0 - h / 2);
    plat::DrawVectorText(" " + title);
  } else {
    const double w = plat::VectorTextWidth(title);
    plat::MovePathCursor(place.w / 2.0 - w / 2, t / 2.0 - h / 2);
    plat::DrawVectorText(title);
  }
  return true;
}

void DrawEntry(const CardPen &pen, const std::string &text, double y,
               bool selected) {
  plat::SetVectorFont(kUiFont, pen.layout->baseFont);
  plat::SetVectorColour(selected ? pen.colours.highlight : pen.colours.entry);
  const double w = plat::VectorTextWidth(text);
  Check(pen, "entry", text, w, pen.width);
  Check(pen, "entry bottom", text, y + plat::VectorTextHeight(text),
        pen.height);
  plat::MovePathCursor(pen.width / 2.0 - w / 2, y);
  plat::DrawVectorText(text);
}

void DrawValueRow(const CardPen &pen, const std::string &label,
                  const std::string &value, double y, plat::Colour colour) {
  plat::SetVectorFont(kUiFont, pen.layout->baseFont);
  plat::SetVectorColour(colour);
  const double labelW = plat::VectorTextWidth(label);
  const double w = plat::VectorTextWidth(value);
  // Label and value with at least a small gap between them.
  Check(pen, "row", label + " / " + value,
        10 + labelW + pen.layout->baseFont / 2.0 + w + 10, pen.width);
  // One baseline for both: a script of taller lines (Japanese beside the
  // digits of a window size) would otherwise sit lower than the other.
  const double labelBase = plat::VectorTextBaseline(label);
  const double valueBase = plat::VectorTextBaseline(value);
  const double base = std::max(labelBase, valueBase);
  plat::MovePathCursor(pen.rightToLeft ? pen.width - labelW - 10 : 10,
                       y + base - labelBase);
  plat::DrawVectorText(label);
  plat::MovePathCursor(pen.rightToLeft ? 10 : pen.width - w - 10,
                       y + base - valueBase);
  plat::DrawVectorText(value);
}

void DrawParagraph(const CardPen &pen, const std::string &text, double size,
                   double x, double y, double w, double h, double bottom) {
  plat::SetVectorFont(kUiFont, size);
  plat::SetVectorColour(pen.colours.entry);
  Check(pen, "paragraph", text.substr(0, 40),
        plat::VectorParagraphHeight(text, w), bottom < 0 ? h : bottom - y);
  plat::MovePathCursor(x, y);
  plat::DrawVectorParagraph(text, w, h, true);
}

void EndCard(const CardPen &pen) {
  if (pen.overflows == nullptr)
    plat::EndDraw();
}
