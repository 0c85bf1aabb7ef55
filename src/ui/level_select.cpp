// level_select.cpp — the level-select card: five slots, the explanation and
// Back.
#include "assets/numbers.h"
#include "ui/card_draw.h"

std::string SlotText(const Languages &lang, const std::string &slot) {
  if (slot == "01")
    return Text(lang, "tStartNEW");
  return FillPlaceholders(Text(lang, "tStartLEVEL"), slot);
}

void RenderLevelSelect(const CardSources &src, int selected) {
  const DialogLayout &d = src.layout;
  const CardPlace &place = d.levelSelect;
  CardPen pen;
  if (!BeginCard(pen, num::kLevelSelectCard, place, src, MenuColours(),
                 TitleStyle::Left, Text(src.lang, "tStartTITLE")))
    return;
  const double t = d.titleBar, f = d.baseFont;
  for (int i = 0; i < kSlotCount; ++i)
    DrawEntry(pen, SlotText(src.lang, src.progress.slots[i]),
              t + (0.5 + 1.5 * i) * f, selected == i + 1);
  DrawParagraph(pen, Text(src.lang, "tStartTEXT"), d.baseFont / 2, 2,
                t + 8.5 * f, place.w - 4, 2 * f);
  DrawEntry(pen, Text(src.lang, "tStartBACK"), place.h - 1.5 * f,
            selected == kLevelSelectBack);
  EndCard(pen);
}
