// settings_card.cpp — the settings card: five value rows, OK and Cancel.
#include "assets/numbers.h"
#include "platform/text.h"
#include "ui/card_draw.h"

namespace {

const char *ScreenModeKey(ScreenMode mode) {
  switch (mode) {
  case ScreenMode::FullScreen:
    return "tSettingsFULLSCREEN";
  case ScreenMode::Window:
    return "TSettingsWINDOWED";
  default:
    return "tSettingsBORDERLESS";
  }
}

} // namespace

std::string LanguageRowValue(const Languages &lang) {
  if (lang.choice < 0 || lang.choice >= static_cast<int>(lang.choices.size()))
    return ""; // no language file was found
  return plat::UpperCase(lang.choices[lang.choice].second);
}

void RenderSettings(const CardSources &src, int row,
                    const PendingSettings &pending) {
  const DialogLayout &d = src.layout;
  const CardPlace &place = d.settings;
  CardPen pen;
  if (!BeginCard(pen, num::kSettingsCard, place, src, MenuColours(),
                 TitleStyle::Left, Text(src.lang, "tSettingsTITLE")))
    return;
  const Languages &lang = src.lang;
  const double t = d.titleBar, f = d.baseFont;
  auto colour = [&](int r) {
    return row == r ? pen.colours.highlight : pen.colours.entry;
  };
  auto onOff = [&](int flag) {
    return Text(lang, flag == 1 ? "tSettingsON" : "tSettingsOFF");
  };
  DrawValueRow(pen, Text(lang, "tSettingsLANGUAGE"), LanguageRowValue(lang),
               t + 0.5 * f, colour(kRowLanguage));
  DrawValueRow(pen, Text(lang, "tSettingsMUSIC"), onOff(pending.music),
               t + 2 * f, colour(kRowMusic));
  DrawValueRow(pen, Text(lang, "tSettingsSOUNDFX"), onOff(pending.soundFx),
               t + 3.5 * f, colour(kRowEffects));
  DrawValueRow(pen, Text(lang, "tSettingsSCREENMODE"),
               Text(lang, ScreenModeKey(pending.gameScreen)), t + 5 * f,
               colour(kRowScreenMode));
  const auto &list = src.display.resolutions;
  const std::string size =
      pending.resolutionChoice >= 0 &&
              pending.resolutionChoice < static_cast<int>(list.size())
          ? list[pending.resolutionChoice]
          : "";
  DrawValueRow(pen, Text(lang, "tSettingsRESOLUTION"), size, t + 6.5 * f,
               pending.gameScreen == ScreenMode::Window ? colour(kRowResolution)
                                                        : pen.colours.disabled);
  DrawEntry(pen, Text(lang, "tSettingsOK"), place.h - 3 * f, row == kRowOk);
  DrawEntry(pen, Text(lang, "tSettingsCANCEL"), place.h - 1.5 * f,
            row == kRowCancel);
  EndCard(pen);
}
