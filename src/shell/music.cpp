// music.cpp — starting, stopping, pausing and resuming the music tracks.
#include "shell/music.h"

#include "assets/numbers.h"
#include "platform/platform.h"
#include "shell/game.h"

void StartMusic(Game &game, int track) {
  game.loop.musicChannel =
      plat::PlaySound(track, plat::kSoundLoop | plat::kSoundMultiChannel);
}

void StopMusic(Game &game, int track) {
  plat::StopSound(track, game.loop.musicChannel);
}

void PauseMusic(Game &game) {
  for (int track : {num::kMenuMusic, num::kLevelMusic, num::kFinaleMusic})
    if (plat::SoundStatus(track, game.loop.musicChannel) == 1)
      plat::PauseSound(track, game.loop.musicChannel);
}

void ResumeMusic(Game &game) {
  for (int track : {num::kMenuMusic, num::kLevelMusic, num::kFinaleMusic})
    if (plat::SoundStatus(track, game.loop.musicChannel) == 2)
      plat::ResumeSound(track, game.loop.musicChannel);
}

void PlayEffect(Game &game, int sound, int volume) {
  if (game.settings.soundFx != 0)
    plat::PlaySound(sound, plat::kSoundMultiChannel, volume);
}
