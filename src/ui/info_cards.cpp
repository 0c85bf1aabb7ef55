// info_cards.cpp — the help and credits cards: a title, a centred block of
// text in the small size and one highlighted button.
#include "assets/numbers.h"
#include "ui/card_draw.h"

namespace {

// Our own fixed lines of the credits: they are not translated.
constexpr const char *kTeam = "The Warrenfold team";
constexpr const char *kStudio = "Duskmoth";
constexpr const char *kPublisher = "Corvantis";
constexpr const char *kWeb = "duskmoth.example";

void RenderInfo(const CardSources &src, int sprite, const CardPlace &place,
                const char *title, const char *buttonKey,
                const std::string &text, double x, double w) {
  const DialogLayout &d = src.layout;
  CardPen pen;
  if (!BeginCard(pen, sprite, place, src, MenuColours(), TitleStyle::Left,
                 Text(src.lang, title)))
    return;
  const double t = d.titleBar, f = d.baseFont, button = place.h - 1.5 * f;
  // The rectangle reaches below the button: the text must end above it.
  DrawParagraph(pen, text, SmallFontSize(d), x, t + f / 2, w, place.h - t,
                button);
  DrawEntry(pen, Text(src.lang, buttonKey), button, true);
  EndCard(pen);
}

} // namespace

std::string HelpText(const Languages &lang) {
  auto t = [&lang](const char *key) { return Text(lang, key); };
  return t("tHelpCONTROL") + "\n\n" + t("tHelpCONTROLTEXT") + "\n\n" +
         t("tHelpAIM") + "\n\n" + t("tHelpAIMTEXT") + "\n\n" + t("tHelpHINTS") +
         "\n\n" + t("tHelpHINT1") + "\n" + t("tHelpHINT2") + "\n" +
         t("tHelpHINT3") + "\n" + t("tHelpHINT4");
}

std::string CreditsText(const Languages &lang) {
  auto t = [&lang](const char *key) { return Text(lang, key); };
  const std::string team = kTeam, web = kWeb;
  return std::string("Warrenfold 1.0.0.3\n") + t("tCreditsCODEDESIGN") + "\n" +
         team + "\n\n" + "2021 " + team + "\n" + kStudio + "\n" + kPublisher +
         "\n" + web + "\n" + "\n" + t("tCreditsGFX") + "\n" + team +
         ", drawn by our own picture forge - " + web + "\n" + "\n" +
         t("tCreditsMUSIC") + "\n" + team + ", played by our own synthesiser" +
         "\n" + "\n" + t("tCreditsSNDFX") + "\n" + team +
         ", made by our own sound forge - " + web;
}

void RenderHelp(const CardSources &src) {
  const CardPlace &place = src.layout.help;
  RenderInfo(src, num::kHelpCard, place, "tHelpTITLE", "tHelpOK",
             HelpText(src.lang), 2, place.w - 4);
}

void RenderCredits(const CardSources &src) {
  const CardPlace &place = src.layout.credits;
  RenderInfo(src, num::kCreditsCard, place, "tCreditsTITLE", "tSettingsOK",
             CreditsText(src.lang), 0, place.w);
}
