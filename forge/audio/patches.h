// patches.h — the instrument presets the three tracks and the sting share,
// so the game's music keeps one family of sounds.
#pragma once

#include "instruments.h"

namespace audio {

Instrument SquareLead(double duty, double brightness);
Instrument ChipArp();
Instrument Bell();
Instrument ElectricPiano();
Instrument SawPad(double cutoff);
Instrument PluckBass(double brightness);
Instrument Brass();
Instrument Flute();

} // namespace audio
