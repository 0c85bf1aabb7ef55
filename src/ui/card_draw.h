// card_draw.h — what every dialog card shares: the metrics derived from the
// screen, the two colour sets, and the steps that render a card (background,
// title bar, titles, entries, value rows, paragraphs, then the copy into
// its sprite).
#pragma once

#include <string>
#include <vector>

#include "platform/core.h"
#include "ui/dialogs.h"

struct CardColours {
  plat::Colour background, entry, titleBar, titleText;
  plat::Colour highlight{255, 255, 255, 255};
  plat::Colour disabled{69, 109, 63, 255};
};

// The fixed menu colours.
CardColours MenuColours();
// The dialog colours of the level in play (the menu colours without one).
CardColours LevelColours(const Play &play);

// A number rounded to the nearest integer, halves to even.
int RoundHalfEven(double value);
int TitleFontSize(const DialogLayout &layout); // T / 1.7, rounded
int SmallFontSize(const DialogLayout &layout); // f / 2.5, rounded

enum class TitleStyle { None, Left, Centred };

// One card being rendered. Begin fills the background and the title bar;
// End copies the picture into the sprite. Begin returns false (and nothing
// is drawn) when the card cannot be drawn: the sprite keeps what it showed.
struct CardPen {
  int sprite = 0;
  int width = 0, height = 0;
  const DialogLayout *layout = nullptr;
  CardColours colours;
  std::vector<std::string> *overflows = nullptr; // measuring: see CardSources
};

bool BeginCard(CardPen &pen, const CardSources &src, int sprite,
               const CardPlace &place, const CardColours &colours,
               TitleStyle style, const std::string &title);
// An entry at size f, centred; white when selected.
void DrawEntry(const CardPen &pen, const std::string &text, double y,
               bool selected);
// A settings row: label at x = 10, value ending 10 pixels from the right.
void DrawValueRow(const CardPen &pen, const std::string &label,
                  const std::string &value, double y, plat::Colour colour);
// Text broken into centred lines inside the rectangle, cut at its edges.
void DrawParagraph(const CardPen &pen, const std::string &text, double size,
                   double x, double y, double w, double h);
void EndCard(const CardPen &pen);
