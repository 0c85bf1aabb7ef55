// score_level.cpp — the level track: a driving A minor tune at 140 beats a
// minute. Intro, verse A, a brighter chorus B, a breakdown round the circle
// of fifths, verse and chorus again with a harmony voice, and a short tag
// that hands back to the intro. Space between the lead's phrases keeps it
// from tiring on the hundredth loop.
#include "harmony.h"
#include "patches.h"
#include "scores.h"

namespace audio {

namespace {

const Key kKey{9, true}; // A minor

// 0-3 intro, 4-11 A, 12-19 B, 20-27 breakdown, 28-35 A', 36-43 B', 44-47 tag.
const char *kChords = "Am F C G | "
                      "Am F C G Am F G E7 | "
                      "F G Em Am Dm G C E7 | "
                      "Am Dm G C F Dm Esus4:8 E:8 E7:16 | "
                      "Am F C G Am F G E7 | "
                      "F G Em Am Dm G C E7 | "
                      "Am F G E |";

// The verse: a 3+3+2 syncopated cell, sequenced down the chords; the
// second half answers higher and lands on the leading note.
const char *kVerse =
    "E5:3 E5:3 D5:2 C5:2 D5:2 E5:4 | F5:3 F5:3 E5:2 C5:2 A4:2 C5:4 | "
    "G5:3 G5:3 F5:2 E5:2 D5:2 E5:2 C5:2 | D5:6 B4:2 G4:4 r:4 | "
    "E5:3 E5:3 D5:2 C5:2 D5:2 E5:4 | A5:3 A5:3 G5:2 F5:2 E5:2 F5:4 | "
    "G5:3 F5:3 E5:2 D5:2 B4:2 D5:4 | B5:4 G#5:2 E5:2 D5:2 B4:2 G#4:4 |";

const char *kVerse2 =
    "E5:3 E5:3 D5:2 C5:2 D5:2 E5:4 | F5:3 F5:3 E5:2 C5:2 A4:2 C5:4 | "
    "G5:3 G5:3 F5:2 E5:2 D5:2 E5:2 C5:2 | D5:2 E5:2 G5:2 B5:2 D6:4 B5:4 | "
    "A5:3 A5:3 G5:2 E5:2 G5:2 A5:4 | C6:3 C6:3 A5:2 F5:2 A5:2 C6:4 | "
    "B5:3 B5:3 G5:2 D5:2 G5:2 B5:4 | B5:4 G#5:2 E5:2 D5:2 B4:2 G#4:4 |";

// The chorus: wide arpeggio shapes climbing with the harmony, a long A to
// breathe on, then a turn through D minor and G to the dominant.
const char *kChorus = "C6:4 A5:4 F5:2 A5:2 C6:4 | B5:4 G5:4 D5:2 G5:2 B5:4 | "
                      "G5:4 E5:2 G5:2 B5:4 A5:2 G5:2 | A5:12 r:4 | "
                      "D6:4 A5:4 F5:2 A5:2 D6:4 | D6:4 B5:4 G5:2 B5:2 D6:4 | "
                      "E6:6 D6:2 C6:4 G5:4 | B5:4 A5:2 G#5:2 E5:8 |";

// The breakdown melody, on bells: half-time, one idea per chord.
const char *kBreakdown =
    "A5:6 E5:2 C5:8 | F5:6 D5:2 A4:8 | G5:6 D5:2 B4:8 | "
    "E5:6 G5:2 C6:8 | A5:6 F5:2 C5:4 A5:4 | D6:4 C6:4 A5:4 F5:4 | "
    "A5:8 G#5:8 | B5:4 D6:4 E6:8 |";

// The tag: a short riff, then two bars of rest for the ear.
const char *kTag =
    "A5:2 r:2 A5:2 G5:2 E5:4 D5:4 | C5:2 r:2 C5:2 D5:2 E5:4 C5:4 |";

double Bar(int b) { return b * kStepsPerBar; }

void AddDrums(Song &song) {
  const char *crash = "x...............";
  DrumBar intro{.kick = "x...x...x...x...", .hat = "..o...o...o...o."};
  DrumBar intro2{.kick = "x...x...x...x...",
                 .snare = "....o.......o...",
                 .hat = "-.o.-.o.-.o.-.o."};
  DrumBar build{.kick = "x...x...x...x...",
                .snare = "....o...-o-ooxxx",
                .hat = "-.o.-.o........."};
  DrumBar verse{.kick = "x.....x.x.....x.",
                .snare = "....x.......x...",
                .hat = "o.x.o.x.o.x.o.x."};
  DrumBar verse_b{.kick = "x.....x.x.x.....",
                  .snare = "....x.......x..-",
                  .hat = "o.x.o.x.o.x.o.x."};
  DrumBar chorus{.kick = "x...x...x...x...",
                 .snare = "....x.......x...",
                 .hat = "x-..x-..x-..x-..",
                 .open_hat = "..o...o...o...o.",
                 .clap = "....o.......o..."};
  DrumBar fill{.kick = "x...x...x.......",
               .snare = "....x.......x...",
               .hat = "x-..x-..x-......"};
  DrumBar half{.kick = "x.........x.....",
               .hat = "..o...o...o...o.",
               .extra = "........x.......",
               .extra_drum = Drum::Rim};
  DrumBar half_snare{.kick = "x.........x.....",
                     .snare = "........x.......",
                     .hat = "x.o.x.o.x.o.x.o."};
  DrumBar roll8{.kick = "x...x...x...x...",
                .snare = "o.o.o.o.x.x.x.x.",
                .hat = "x.x.x.x........."};
  DrumBar roll16{.kick = "x...x...x...x...", .snare = "oooooooooxxxxxxx"};
  DrumBar tag{.kick = "x.....x.x.....x.",
              .snare = "....x.......x...",
              .hat = "o.x.o.x.o.x.o.x."};

  AddDrumBars(song, DrumBar{.extra = crash}, 0, 1);
  AddDrumBars(song, intro, 0, 2);
  AddDrumBars(song, intro2, 2, 1);
  AddDrumBars(song, build, 3, 1);
  for (int start : {4, 28}) {
    AddDrumBars(song, DrumBar{.extra = crash}, start, 1);
    AddDrumBars(song, verse, start, 3);
    AddDrumBars(song, verse_b, start + 3, 1);
    AddDrumBars(song, verse, start + 4, 3);
    AddDrumBars(song, verse_b, start + 7, 1);
  }
  for (int start : {12, 36}) {
    AddDrumBars(song, DrumBar{.extra = crash}, start, 1);
    AddDrumBars(song, chorus, start, 7);
    AddDrumBars(song, fill, start + 7, 1);
    AddDrumBars(
        song, DrumBar{.extra = "............xx..", .extra_drum = Drum::HighTom},
        start + 7, 1);
    AddDrumBars(
        song, DrumBar{.extra = "..............x.", .extra_drum = Drum::MidTom},
        start + 7, 1);
    AddDrumBars(
        song, DrumBar{.extra = "...............x", .extra_drum = Drum::LowTom},
        start + 7, 1);
  }
  AddDrumBars(song, DrumBar{.extra = crash}, 20, 1);
  AddDrumBars(song, half, 20, 4);
  AddDrumBars(song, half_snare, 24, 2);
  AddDrumBars(song, roll8, 26, 1);
  AddDrumBars(song, roll16, 27, 1);
  AddDrumBars(song, DrumBar{.extra = crash}, 44, 1);
  AddDrumBars(song, tag, 44, 3);
  AddDrumBars(song, build, 47, 1);
}

} // namespace

Song LevelSong() {
  Song song;
  song.title = "Warrenfold - Level";
  song.bpm = 140;
  song.bars = 48;
  song.seed = 23;
  song.reverb = ReverbSettings{0.8, 0.45, 0.9, 0.015};
  song.echo_steps = 3; // a dotted eighth
  song.echo_feedback = 0.32;
  song.drum_gain = 0.42;

  std::vector<Chord> chords = ParseChords(kChords);

  std::vector<Note> lead_notes = ParseNotes(kVerse, Bar(4));
  Append(lead_notes, ParseNotes(kChorus, Bar(12)));
  Append(lead_notes, ParseNotes(kVerse2, Bar(28)));
  std::vector<Note> chorus2 = ParseNotes(kChorus, Bar(36));
  Append(lead_notes, chorus2);
  Append(lead_notes, Scaled(ParseNotes(kTag, Bar(44)), 0.85));
  Part lead{"lead", SquareLead(0.25, 0.85), lead_notes};
  lead.gain = 0.7;
  lead.pan = 0.05;
  lead.reverb = 0.18;
  lead.echo = 0.16;
  lead.legato = 0.9;
  lead.seed = 1;

  // The second chorus gains a voice a third to a sixth below.
  Part harmony{"harmony", SquareLead(0.5, 0.7),
               HarmonyBelow(chorus2, chords, kKey)};
  harmony.gain = 0.5;
  harmony.pan = -0.3;
  harmony.reverb = 0.2;
  harmony.legato = 0.9;
  harmony.seed = 2;

  Part bells{"bells", Bell(), ParseNotes(kBreakdown, Bar(20))};
  bells.gain = 0.9;
  bells.pan = 0.1;
  bells.reverb = 0.4;
  bells.echo = 0.3;
  bells.seed = 3;

  // The chip arpeggio runs under the intro, the choruses and the tag.
  std::vector<Note> arp =
      Arpeggio(chords, 0, Bar(4), "0 1 2 3 4 3 2 1", 1, 57, 0.6, 0.6);
  Append(arp, Arpeggio(chords, Bar(12), Bar(20), "0 2 4 2 1 3 5 3", 1, 57, 0.6,
                       0.45));
  Append(arp, Arpeggio(chords, Bar(20), Bar(28), "0 1 2 4 -1 2 4 5", 2, 57, 0.6,
                       0.5));
  Append(arp, Arpeggio(chords, Bar(36), Bar(44), "0 2 4 2 1 3 5 3", 1, 57, 0.6,
                       0.45));
  Append(arp, Arpeggio(chords, Bar(44), Bar(48), "0 1 2 3 4 3 2 1", 1, 57, 0.6,
                       0.55));
  Part chip{"chip", ChipArp(), arp};
  chip.gain = 0.75;
  chip.pan = -0.4;
  chip.reverb = 0.15;
  chip.echo = 0.22;
  chip.legato = 1.0;
  chip.seed = 4;

  std::vector<Note> pad_notes = PadVoicing(chords, 52, 71, 0.75);
  Part pad{"pad", SawPad(1300), pad_notes};
  pad.gain = 0.75;
  pad.reverb = 0.4;
  pad.legato = 1.0;
  pad.duck = 0.45;
  pad.seed = 5;

  // Off-beat stabs push the verses forward.
  std::vector<Note> stabs;
  for (const Note &n : Comp(pad_notes, "..x...x...x...x.", 0.45))
    if ((n.step >= Bar(4) && n.step < Bar(12)) ||
        (n.step >= Bar(28) && n.step < Bar(36)))
      stabs.push_back(n);
  Part stab{"stabs", ElectricPiano(), stabs};
  stab.gain = 0.5;
  stab.pan = 0.3;
  stab.reverb = 0.25;
  stab.seed = 6;

  const char *driving = "1:2 1:2 8:2 1:2 1:2 8:2 5:2 a:2";
  const char *octaves = "1:2 8:2 1:2 8:2 1:2 8:2 1:2 8:2";
  std::vector<Note> bass =
      BassLine(chords, "1:2 1:2 1:2 1:2 1:2 1:2 1:2 1:2", 0, Bar(4), kKey, 33);
  Append(bass, BassLine(chords, driving, Bar(4), Bar(12), kKey, 33));
  Append(bass, BassLine(chords, octaves, Bar(12), Bar(20), kKey, 33));
  Append(bass,
         BassLine(chords, "1:6 1:2 5:4 r:2 a:2", Bar(20), Bar(28), kKey, 33));
  Append(bass, BassLine(chords, driving, Bar(28), Bar(36), kKey, 33));
  Append(bass, BassLine(chords, octaves, Bar(36), Bar(44), kKey, 33));
  Append(bass, BassLine(chords, driving, Bar(44), Bar(48), kKey, 33));
  Part bass_part{"bass", PluckBass(1.0), bass};
  bass_part.gain = 0.85;
  bass_part.reverb = 0.03;
  bass_part.legato = 0.8;
  bass_part.duck = 0.2;
  bass_part.seed = 7;

  song.parts = {lead, harmony, bells, chip, pad, stab, bass_part};
  AddDrums(song);
  return song;
}

} // namespace audio
