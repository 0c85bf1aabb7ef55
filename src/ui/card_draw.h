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
// In a language written from the right, what sits at one side of the card
// (the left title, a row's label and value) swaps sides.
struct CardPen {
  int sprite = 0;
  int width = 0, height = 0;
  const DialogLayout *layout = nullptr;
  CardColours colours;
  bool rightToLeft = false;
  std::vector<std::string> *overflows = nullptr; // measuring: see CardSources
};

// Whether the language reads from the right: its own name does.
bool RightToLeft(const Languages &lang);

bool BeginCard(CardPen &pen, int sprite, const CardPlace &place,
               const CardSources &src, const CardColours &colours,
               TitleStyle style, const std::string &title);
// An entry at size f, centred; white when selected.
void DrawEntry(const CardPen &pen, const std::string &text, double y,
               bool selected);
// A settings row: label at x = 10, value ending 10 pixels from the right
// (mirrored from the right).
void DrawValueRow(const CardPen &pen, const std::string &label,
                  const std::string &value, double y, plat::Colour colour);
// Text broken into centred lines inside the rectangle, cut at its edges.
// The lines may reach down to `bottom` (measured only; the rectangle's
// bottom when not given): what shares the rectangle below the text.
void DrawParagraph(const CardPen &pen, const std::string &text, double size,
                   double x, double y, double w, double h, double bottom = -1);
void EndCard(const CardPen &pen);
