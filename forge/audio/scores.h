// scores.h — the game's three music tracks.
#pragma once

#include "song.h"

namespace audio {

Song MenuSong();   // behind the menus: inviting, mid-tempo, F major
Song LevelSong();  // during play: driving, A minor
Song FinaleSong(); // after the last level: triumphant, D major

} // namespace audio
