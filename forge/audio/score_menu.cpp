// score_menu.cpp — the menu track: an easy-going swung tune in F major that
// invites the player in. Intro, theme A, its answer A', a bridge on the
// relative minor, and a soft bell outro that leads back to the intro.
#include "harmony.h"
#include "patches.h"
#include "scores.h"

namespace audio {

namespace {

const Key kKey{5, false}; // F major

// Bars 0-3 intro, 4-11 A, 12-19 A', 20-27 B, 28-31 outro.
const char *kChords = "F Dm Bb C | "
                      "F | Am | Bb | C | F | Am | Bb:8 C:8 | F:8 C/E:8 | "
                      "F:16 | Am | Bb | C | F | Am | Bb:8 C:8 | F:16 | "
                      "Dm | Bb | F | C | Dm | Bb | Gm7 | C7sus4:8 C7:8 | "
                      "F:16 | Am | Bb | C |";

// The theme: a rising call, a falling answer, the same again reaching
// higher, ending half-way (on the dominant) the first time.
const char *kThemeA =
    "C5:2 F5:2 A5:4 G5:2 F5:2 G5:4 | A5:6 E5:2 C5:4 r:4 | "
    "D5:2 F5:2 Bb5:4 A5:2 G5:2 F5:4 | G5:6 A5:2 G5:4 E5:4 | "
    "C5:2 F5:2 A5:4 G5:2 F5:2 C6:4 | C6:6 A5:2 G5:4 E5:4 | "
    "D5:2 F5:2 Bb5:4 C6:2 Bb5:2 A5:2 G5:2 | A5:4 G5:2 F5:2 E5:6 r:2 |";

// The answer climbs to the top of the tune and comes home to F.
const char *kThemeA2 =
    "C5:2 F5:2 A5:4 G5:2 F5:2 G5:4 | A5:4 C6:2 A5:2 E5:4 r:4 | "
    "D5:2 F5:2 Bb5:4 A5:2 G5:2 F5:4 | G5:4 C6:4 Bb5:2 A5:2 G5:4 | "
    "A5:2 C6:2 F6:4 E6:2 D6:2 C6:4 | A5:6 C6:2 E6:4 D6:2 C6:2 | "
    "Bb5:2 A5:2 G5:2 F5:2 E5:2 F5:2 G5:2 C6:2 | A5:2 G5:2 F5:12 |";

// A bell line above the answer's first half.
const char *kCounter =
    "F6:6 C6:2 A5:8 | E6:6 C6:2 A5:8 | F6:6 D6:2 Bb5:8 | G6:6 E6:2 C6:8 |";

// The bridge, on the flute: longer notes, lower, in the minor colour.
const char *kBridge =
    "D5:4 F5:4 A5:6 G5:2 | F5:4 D5:4 Bb4:8 | C5:4 F5:4 A5:4 C6:4 | "
    "Bb5:6 A5:2 G5:8 | D6:4 C6:4 A5:6 F5:2 | G5:4 F5:4 D5:8 | "
    "Bb5:4 A5:4 G5:4 F5:4 | G5:6 F5:2 E5:4 C5:4 |";

// The outro: the theme's call, an octave up on the bell, left open.
const char *kOutro = "C6:2 F6:2 A6:4 G6:2 F6:2 G6:4 | A6:6 E6:2 C6:8 | "
                     "D6:2 F6:2 Bb6:4 A6:2 G6:2 F6:4 | G6:8 r:8 |";

double Bar(int b) { return b * kStepsPerBar; }

void AddDrums(Song &song) {
  const char *crash = "x...............";
  DrumBar shaker{.extra = "x.o.x.o.x.o.x.o.", .extra_drum = Drum::Shaker};
  DrumBar soft_kick{.kick = "x.......x.......",
                    .extra = "....x.......x...",
                    .extra_drum = Drum::Rim};
  DrumBar groove{.kick = "x.......x.x.....",
                 .snare = "....x.......x.-.",
                 .hat = "x.o.x.o.x.o.x.o."};
  DrumBar groove_open{.kick = "x.......x.x.....",
                      .snare = "....x.......x.-.",
                      .hat = "x.o.x.o.x.o.x...",
                      .open_hat = "..............o."};
  DrumBar fill_snare{.kick = "x.......x.......",
                     .snare = "....x.......xoxx",
                     .hat = "x.o.x.o.x.o....."};
  DrumBar bridge{.kick = "x.......x..o....",
                 .snare = "....x.......x...",
                 .hat = "x.o.x.o.x.o.x.o.",
                 .clap = "....o.......o..."};
  DrumBar outro{.kick = "x.......x.......",
                .hat = "o...o...o...o...",
                .extra = "....x.......x...",
                .extra_drum = Drum::Rim};

  AddDrumBars(song, shaker, 0, 4);
  AddDrumBars(song, soft_kick, 2, 2);
  AddDrumBars(song, DrumBar{.snare = "............-o-x"}, 3, 1);
  // Theme and answer: the groove, with a lift every fourth bar.
  for (int start : {4, 12}) {
    AddDrumBars(song, DrumBar{.extra = crash, .extra_drum = Drum::Crash}, start,
                1);
    AddDrumBars(song, groove, start, 3);
    AddDrumBars(song, groove_open, start + 3, 1);
    AddDrumBars(song, groove, start + 4, 3);
  }
  AddDrumBars(song, fill_snare, 11, 1);
  AddDrumBars(song, groove, 19, 1);
  AddDrumBars(song,
              DrumBar{.extra = "............xo..", .extra_drum = Drum::HighTom},
              19, 1);
  AddDrumBars(song,
              DrumBar{.extra = "..............xo", .extra_drum = Drum::LowTom},
              19, 1);
  AddDrumBars(song, DrumBar{.extra = crash, .extra_drum = Drum::Crash}, 20, 1);
  AddDrumBars(song, bridge, 20, 7);
  AddDrumBars(song, shaker, 20, 8);
  AddDrumBars(song, fill_snare, 27, 1);
  AddDrumBars(song, DrumBar{.extra = crash, .extra_drum = Drum::Crash}, 28, 1);
  AddDrumBars(song, outro, 28, 4);
  AddDrumBars(song, shaker, 28, 4);
}

} // namespace

Song MenuSong() {
  Song song;
  song.title = "Warrenfold - Menu";
  song.bpm = 105;
  song.bars = 32;
  song.swing = 0.57;
  song.seed = 11;
  song.reverb = ReverbSettings{0.84, 0.4, 0.9, 0.025};
  song.echo_steps = 6; // a dotted quarter
  song.echo_feedback = 0.3;
  song.drum_gain = 0.55;

  std::vector<Chord> chords = ParseChords(kChords);

  std::vector<Note> theme = ParseNotes(kThemeA, Bar(4));
  Append(theme, ParseNotes(kThemeA2, Bar(12)));
  Part lead{"lead", SquareLead(0.5, 0.8), theme};
  lead.gain = 0.72;
  lead.reverb = 0.25;
  lead.echo = 0.18;
  lead.legato = 0.92;
  lead.seed = 1;

  Part flute{"flute", Flute(), ParseNotes(kBridge, Bar(20))};
  flute.gain = 0.9;
  flute.reverb = 0.35;
  flute.echo = 0.2;
  flute.pan = 0.05;
  flute.seed = 2;

  std::vector<Note> bells = ParseNotes(kCounter, Bar(12));
  Append(bells, Scaled(ParseNotes(kOutro, Bar(28)), 0.9));
  Part bell{"bell", Bell(), bells};
  bell.gain = 1.0;
  bell.pan = 0.35;
  bell.reverb = 0.4;
  bell.echo = 0.25;
  bell.seed = 3;

  // Arpeggios carry the intro and float through the bridge and outro.
  std::vector<Note> arp =
      Arpeggio(chords, 0, Bar(4), "0 1 2 3 4 3 2 1", 2, 65, 0.9, 0.7);
  Append(arp, Arpeggio(chords, Bar(20), Bar(28), "0 2 1 3 2 4 3 5", 2, 65, 0.9,
                       0.45));
  Append(arp, Arpeggio(chords, Bar(28), Bar(32), "0 1 2 3 4 3 2 1", 2, 65, 0.9,
                       0.55));
  Part arp_part{"arp", Bell(), arp};
  arp_part.gain = 0.55;
  arp_part.pan = -0.35;
  arp_part.reverb = 0.35;
  arp_part.echo = 0.2;
  arp_part.seed = 4;

  std::vector<Note> pad_notes = PadVoicing(chords, 53, 72, 0.8);
  Part pad{"pad", SawPad(1100), pad_notes};
  pad.gain = 0.8;
  pad.reverb = 0.45;
  pad.legato = 1.0;
  pad.seed = 5;

  // Soft keys comp the theme on the beat and its "and".
  std::vector<Note> keys_notes;
  for (const Note &n : Comp(pad_notes, "x.....o.o...o...", 0.8))
    if (n.step >= Bar(4) && n.step < Bar(20))
      keys_notes.push_back(n);
  Part keys{"keys", ElectricPiano(), keys_notes};
  keys.gain = 0.8;
  keys.pan = -0.15;
  keys.reverb = 0.3;
  keys.seed = 6;

  std::vector<Note> bass =
      BassLine(chords, "1:8 5:6 a:2", Bar(2), Bar(4), kKey, 38);
  Append(bass,
         BassLine(chords, "1:6 1:2 5:4 8:2 a:2", Bar(4), Bar(20), kKey, 38));
  Append(bass, BassLine(chords, "1:4 r:2 1:2 5:4 3:2 a:2", Bar(20), Bar(28),
                        kKey, 38));
  Append(bass,
         BassLine(chords, "1:6 1:2 5:4 8:2 a:2", Bar(28), Bar(32), kKey, 38));
  Part bass_part{"bass", PluckBass(0.8), bass};
  bass_part.gain = 0.9;
  bass_part.reverb = 0.05;
  bass_part.legato = 0.85;
  bass_part.seed = 7;

  song.parts = {lead, flute, bell, arp_part, pad, keys, bass_part};
  AddDrums(song);
  return song;
}

} // namespace audio
