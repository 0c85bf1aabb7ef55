// sfx_sting.cpp — the level-cleared sting: a syncopated flute lick over a
// plucked bass and a keys chord, ending on a bright held high C.
#include "effects.h"
#include "harmony.h"
#include "patches.h"
#include "sfx.h"
#include "song.h"

namespace audio {

Song StingSong() {
  Song song;
  song.title = "sting";
  song.bpm = 140;
  song.bars = 2;
  song.swing = 0.56;
  song.seed = 2;
  song.reverb = ReverbSettings{0.78, 0.4, 0.9, 0.015};
  song.echo_steps = 3;
  song.echo_feedback = 0.25;
  song.drum_gain = 0.4;

  // Up the pentatonic, a bounce around C, then the long top note.
  Part flute{
      "flute", Flute(),
      ParseNotes("G5:1 A5:1 C6:2 A5:1 C6:1 D6:2 E6:1 D6:1 C6:1 D6:1 E6:2 G6:2 "
                 "C7:7!")};
  flute.instrument.flute.vibrato = Vibrato{0.3, 5.6, 0.1, 0.2};
  flute.gain = 1.25;
  flute.reverb = 0.3;
  flute.echo = 0.12;
  flute.legato = 0.9;
  flute.seed = 1;

  Part bass{"bass", PluckBass(0.9),
            ParseNotes("C3:2 r:1 C3:1 r:2 G2:2 F2:2 r:1 F2:1 r:2 G2:2 C2:7")};
  bass.gain = 0.8;
  bass.legato = 0.8;
  bass.seed = 2;

  std::vector<Note> chords =
      Comp(PadVoicing(ParseChords("C6:8 F:8 Cadd9:8"), 60, 76, 0.7),
           "..x...x.x.......", 0.7);
  Part keys{"keys", ElectricPiano(), chords};
  keys.gain = 0.7;
  keys.pan = -0.2;
  keys.reverb = 0.3;
  keys.seed = 3;

  song.parts = {flute, bass, keys};
  AddDrumBars(song,
              DrumBar{.extra = "x.o.x.o.x.o.x.o.", .extra_drum = Drum::Shaker},
              0, 1);
  AddDrumBars(song,
              DrumBar{.extra = "....x.......x...", .extra_drum = Drum::Rim}, 0,
              1);
  AddHit(song, 16, Drum::Crash, 0.45);
  AddHit(song, 16, Drum::Kick, 0.7);

  return song;
}

Stereo VictorySting() {
  Stereo s = MixSong(StingSong(), static_cast<size_t>(2.8 * kRate));
  FinishEffect(s, -3.5, 0.001, 0.35);
  return s;
}

} // namespace audio
