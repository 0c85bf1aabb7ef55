// catalogue.cpp — the list of sounds the forge makes.
#include "catalogue.h"

#include "scores.h"
#include "sfx.h"

namespace audio {

namespace {

Stereo Menu() { return RenderSong(MenuSong()); }
Stereo Level() { return RenderSong(LevelSong()); }
Stereo Finale() { return RenderSong(FinaleSong()); }

} // namespace

const std::vector<SoundEntry> &Catalogue() {
  // In the order the game loads them.
  static const std::vector<SoundEntry> kEntries = {
      {"music1.ogg", Menu, true, 0x57460001},
      {"music2.ogg", Level, true, 0x57460002},
      {"music3.ogg", Finale, true, 0x57460003},
      {"ui_menu_button_click_24.ogg", MoveClick, false, 0x57460004},
      {"ui_button_simple_click_01.ogg", ConfirmClick, false, 0x57460005},
      {"music_sting_short_groovy_flute_02.ogg", VictorySting, false,
       0x57460006},
      {"troll_monster_laugh_02.ogg", MonsterLaugh, false, 0x57460007},
      {"collect_coin_03.ogg", CoinBlip, false, 0x57460008},
      {"ui_menu_button_beep_11.ogg", CountdownBeep, false, 0x57460009},
  };
  return kEntries;
}

} // namespace audio
