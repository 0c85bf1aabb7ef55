// sfx.h — the game's six sound effects, each a finished stereo buffer.
#pragma once

#include "buffer.h"

namespace audio {

Stereo MoveClick();     // a selection moves or a value changes
Stereo ConfirmClick();  // an item is chosen
Stereo CountdownBeep(); // one of the five countdown beeps
Stereo CoinBlip();      // a dot or cherry is taken
Stereo VictorySting();  // a level is cleared (flute phrase)
Stereo MonsterLaugh();  // the player is caught

struct Song;
Song StingSong(); // the sting's score, before it is cut and finished

// Shared finish for one-shot sounds: no DC, clean edges, given peak.
void FinishEffect(Stereo &s, double peak_db, double fade_in, double fade_out);

} // namespace audio
