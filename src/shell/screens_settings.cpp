// screens_settings.cpp — the settings screen: language, music, sound
// effects, screen mode and window size, changed with Left and Right and
// applied with OK. It plays no music of its own, and N does nothing here:
// the sound effects have their row.
#include "assets/numbers.h"
#include "shell/actions.h"
#include "shell/apply_settings.h"
#include "shell/game.h"
#include "shell/screen_parts.h"
#include "shell/screens.h"

namespace {

void DrawSettings(Game &game) {
  DrawMenuScene(game);
  DrawCard(num::kSettingsCard, game.dialogs.settings);
}

void MoveSettings(Game &game, int delta) {
  Loop &loop = game.loop;
  int next = loop.settingsRow + delta;
  // The window size row only counts while a window is chosen.
  if (loop.pending.gameScreen != ScreenMode::Window && next == kRowResolution)
    next += delta;
  if (next < kRowLanguage || next > kRowCancel)
    return;
  loop.settingsRow = next;
  Click(game);
  loop.staleCards |= kCardSettings;
}

// Left takes On, Right takes Off.
bool ChangeFlag(int &flag, int delta) {
  if ((delta < 0 && flag == 0) || (delta > 0 && flag == 1)) {
    flag = delta < 0 ? 1 : 0;
    return true;
  }
  return false;
}

bool ChangeLanguage(Game &game, int delta) {
  Languages &lang = game.lang;
  const int next = lang.choice + delta;
  if (lang.choice < 0 || next < 0 ||
      next >= static_cast<int>(lang.choices.size()))
    return false;
  lang.choice = next;
  game.loop.pending.language = lang.choices[next].first;
  return true;
}

bool ChangeScreenMode(PendingSettings &p, int delta) {
  const int mode = static_cast<int>(p.gameScreen);
  if (!((delta < 0 && mode > 0) || (delta > 0 && mode < 2)))
    return false;
  p.gameScreen = static_cast<ScreenMode>(mode + delta);
  return true;
}

bool ChangeResolution(Game &game, int delta) {
  PendingSettings &p = game.loop.pending;
  const int next = p.resolutionChoice + delta;
  if (next < 0 || next >= static_cast<int>(game.display.resolutions.size()))
    return false;
  p.resolutionChoice = next;
  // The entry shown, even when the stored index lay outside the list.
  p.resolution = next;
  return true;
}

void ConfirmSettings(Game &game) {
  Loop &loop = game.loop;
  if (loop.settingsRow == kRowOk) {
    ApplySettings(game); // plays the confirm sound itself
    loop.state = ScreenState::MainMenu;
  } else if (loop.settingsRow == kRowCancel) {
    ConfirmSound(game);
    loop.settingsRow = kRowLanguage;
    loop.state = ScreenState::MainMenu;
  }
}

// The pending settings are dropped.
void LeaveSettings(Game &game) { game.loop.state = ScreenState::MainMenu; }

} // namespace

void OpenSettings(Game &game) {
  Loop &loop = game.loop;
  loop.settingsRow = kRowLanguage;
  FindLanguage(game.lang, game.settings.language);
  loop.pending = MakePending(game.settings);
  loop.staleCards |= kCardSettings;
  loop.state = ScreenState::SettingsDialog;
}

void ChangeSetting(Game &game, int delta) {
  PendingSettings &p = game.loop.pending;
  bool changed = false;
  switch (game.loop.settingsRow) {
  case kRowLanguage:
    changed = ChangeLanguage(game, delta);
    break;
  case kRowMusic:
    changed = ChangeFlag(p.music, delta);
    break;
  case kRowEffects:
    changed = ChangeFlag(p.soundFx, delta);
    break;
  case kRowScreenMode:
    changed = ChangeScreenMode(p, delta);
    break;
  case kRowResolution:
    changed = ChangeResolution(game, delta);
    break;
  default:
    break;
  }
  if (changed) {
    Click(game);
    game.loop.staleCards |= kCardSettings;
  }
}

extern const Screen kSettingsScreen = {
    .group = ScreenGroup::Menu,
    .draw = DrawSettings,
    .advance = AdvanceTitleMonsters,
    .logic = TitleMonstersLogic,
    .confirm = ConfirmSettings,
    .back = LeaveSettings,
    .move = MoveSettings,
    .stick = StickMoves::Repeating,
    .change = ChangeSetting,
    .effectsKey = false,
};
