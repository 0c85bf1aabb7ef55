// score_finale.cpp — the finale: a triumphant D major march at 126 beats a
// minute. A brass fanfare, the anthem, a rising middle part, the anthem
// again in full, and a coda that climbs G, A, B flat, C to a shining D.
#include "harmony.h"
#include "patches.h"
#include "scores.h"

namespace audio {

namespace {

const Key kKey{2, false}; // D major

// 0-1 fanfare, 2-9 anthem, 10-17 middle, 18-25 anthem, 26-31 coda.
const char *kChords = "D A | "
                      "D G A D Bm G Em7:8 A7:8 D:16 | "
                      "G A F#m Bm Em A D/F#:8 G:8 A7sus4:8 A7:8 | "
                      "D:16 G A D Bm G Em7:8 A7:8 D:16 | "
                      "G A Bb C D D:8 A7:8 |";

// Repeated-note calls, as trumpets would sound them.
const char *kFanfare = "D5:2 D5:1 D5:1 D5:2 A4:2 D5:4 F#5:4 | "
                       "E5:2 E5:1 E5:1 E5:2 C#5:2 E5:4 A5:4 |";

// The anthem climbs the D, G and A chords, rests on F#, then sings through
// B minor and G to the cadence.
const char *kAnthem =
    "A4:2 D5:2 F#5:4 A5:6 F#5:2 | G5:4 B5:4 D6:6 B5:2 | "
    "C#6:4 B5:2 A5:2 E5:4 A5:4 | F#5:12 r:2 A4:2 | "
    "D5:2 F#5:2 B5:4 A5:2 F#5:2 D5:4 | G5:2 B5:2 D6:4 C#6:2 B5:2 G5:4 | "
    "E5:2 G5:2 B5:2 D6:2 C#6:2 A5:2 G5:2 E5:2 | F#5:2 A5:2 D6:12 |";

// The middle: a sequence that rises bar by bar to a held D over B minor.
const char *kMiddle = "B5:6 A5:2 G5:4 D5:4 | C#6:6 B5:2 A5:4 E5:4 | "
                      "A5:4 C#6:4 F#6:6 E6:2 | D6:12 r:4 | "
                      "G5:4 B5:4 E6:6 D6:2 | C#6:4 A5:4 E5:6 G5:2 | "
                      "F#5:4 A5:4 G5:4 B5:4 | D6:8 C#6:8 |";

// The coda's climb, and the long top D.
const char *kCoda =
    "D6:4 B5:4 G5:4 B5:4 | C#6:4 A5:4 E5:4 A5:4 | "
    "D6:4 Bb5:4 F5:4 Bb5:4 | E6:4 C6:4 G5:4 C6:4 | D6:16! | r:16 |";

// Sparkles above the second anthem.
const char *kSparkle =
    "D6:2 F#6:2 A6:4 r:8 | r:16 | A6:2 E6:2 C#6:4 r:8 | "
    "D7:4 A6:4 F#6:8 | r:16 | D7:2 B6:2 G6:4 r:8 | r:16 | r:16 |";

double Bar(int b) { return b * kStepsPerBar; }

void AddDrums(Song &song) {
  const char *crash = "x...............";
  DrumBar fanfare{.kick = "x.......x.......",
                  .snare = "........-o-oxxxx",
                  .extra = "x.......x.......",
                  .extra_drum = Drum::LowTom};
  DrumBar march{.kick = "x.......x.x.....",
                .snare = "....x.......x...",
                .hat = "x.o.x.o.x.o.x.o."};
  DrumBar march_roll{.kick = "x.......x.x.....",
                     .snare = "....x.......x.oo",
                     .hat = "x.o.x.o.x.o.x.o."};
  DrumBar big{.kick = "x...x...x...x...",
              .snare = "....x.......x...",
              .hat = "x-o-x-o-x-o-x-o-",
              .clap = "....o.......o..."};
  DrumBar lift{.kick = "x...x...x...x...",
               .snare = "....x...o.o.xxxx",
               .hat = "x-o-x-o-x-o-...."};
  DrumBar climb{.kick = "x...x...x...x...",
                .snare = "....x.......x...",
                .hat = "x.o.x.o.x.o.x.o.",
                .open_hat = "..............o."};
  DrumBar hold{.kick = "x...............",
               .extra = "x...............",
               .extra_drum = Drum::LowTom};
  DrumBar turn{.kick = "x.......x.......",
               .snare = "........o.o.oxxx",
               .extra = "....x.x.........",
               .extra_drum = Drum::MidTom};

  AddDrumBars(song, DrumBar{.extra = crash}, 0, 1);
  AddDrumBars(song, fanfare, 0, 2);
  AddDrumBars(song, DrumBar{.extra = crash}, 2, 1);
  AddDrumBars(song, march, 2, 3);
  AddDrumBars(song, march_roll, 5, 1);
  AddDrumBars(song, march, 6, 3);
  AddDrumBars(song, march_roll, 9, 1);
  AddDrumBars(song, DrumBar{.extra = crash}, 10, 1);
  AddDrumBars(song, big, 10, 7);
  AddDrumBars(song, lift, 17, 1);
  AddDrumBars(song, DrumBar{.extra = crash}, 18, 1);
  AddDrumBars(song, DrumBar{.extra = crash}, 22, 1);
  AddDrumBars(song, big, 18, 7);
  AddDrumBars(song, lift, 25, 1);
  AddDrumBars(song, DrumBar{.extra = crash}, 26, 1);
  AddDrumBars(song, climb, 26, 4);
  AddDrumBars(song,
              DrumBar{.extra = "x...............", .extra_drum = Drum::HighTom},
              28, 1);
  AddDrumBars(song,
              DrumBar{.extra = "x...............", .extra_drum = Drum::MidTom},
              29, 1);
  AddDrumBars(song, DrumBar{.extra = crash}, 30, 1);
  AddDrumBars(song, hold, 30, 1);
  AddDrumBars(song, turn, 31, 1);
}

} // namespace

Song FinaleSong() {
  Song song;
  song.title = "Warrenfold - Finale";
  song.bpm = 126;
  song.bars = 32;
  song.seed = 37;
  song.reverb = ReverbSettings{0.85, 0.35, 1.0, 0.02};
  song.echo_steps = 4;
  song.echo_feedback = 0.25;
  song.drum_gain = 0.45;
  song.tuning = DrumTuning{185.0, 110.0}; // F#3; A2, D3, G3

  std::vector<Chord> chords = ParseChords(kChords);

  std::vector<Note> anthem = ParseNotes(kAnthem, Bar(2));
  std::vector<Note> anthem2 = ParseNotes(kAnthem, Bar(18));
  std::vector<Note> lead_notes = anthem;
  Append(lead_notes, ParseNotes(kMiddle, Bar(10)));
  Append(lead_notes, anthem2);
  Append(lead_notes, ParseNotes(kCoda, Bar(26)));
  Part lead{"lead", SquareLead(0.5, 1.0), lead_notes};
  lead.gain = 0.64;
  lead.reverb = 0.25;
  lead.echo = 0.12;
  lead.legato = 0.92;
  lead.seed = 1;

  // Brass: the fanfare in unison octaves, the anthem's harmony below, and
  // chords under the middle part and the coda.
  std::vector<Note> brass_notes = ParseNotes(kFanfare, 0);
  Append(brass_notes, Transpose(ParseNotes(kFanfare, 0), -12));
  Append(brass_notes, HarmonyBelow(anthem2, chords, kKey));
  std::vector<Note> pad_notes = PadVoicing(chords, 55, 74, 0.8);
  for (const Note &n : Comp(pad_notes, "x.....x.....x...", 0.8))
    if ((n.step >= Bar(10) && n.step < Bar(18)) || n.step >= Bar(26))
      brass_notes.push_back(n);
  Part brass{"brass", Brass(), brass_notes};
  brass.gain = 0.95;
  brass.pan = -0.2;
  brass.reverb = 0.3;
  brass.legato = 0.9;
  brass.seed = 2;

  Part pad{"pad", SawPad(1500), pad_notes};
  pad.gain = 0.65;
  pad.reverb = 0.45;
  pad.legato = 1.0;
  pad.duck = 0.25;
  pad.seed = 3;

  Part bells{"bells", Bell(), ParseNotes(kSparkle, Bar(18))};
  bells.gain = 0.7;
  bells.pan = 0.4;
  bells.reverb = 0.4;
  bells.echo = 0.3;
  bells.seed = 4;

  std::vector<Note> arp =
      Arpeggio(chords, Bar(2), Bar(10), "0 1 2 3 2 1 2 3", 2, 62, 0.8, 0.5);
  Append(arp, Arpeggio(chords, Bar(26), Bar(30), "0 1 2 3 4 5 4 3", 1, 62, 0.7,
                       0.5));
  Part chip{"chip", ChipArp(), arp};
  chip.gain = 0.9;
  chip.pan = 0.35;
  chip.reverb = 0.2;
  chip.echo = 0.2;
  chip.seed = 5;

  std::vector<Note> bass =
      BassLine(chords, "1:4 1:4 5_:4 a:4", 0, Bar(2), kKey, 38);
  Append(bass, BassLine(chords, "1:3 1:3 5:2 8:3 5:3 a:2", Bar(2), Bar(10),
                        kKey, 38));
  Append(bass, BassLine(chords, "1:2 1:2 r:2 1:2 5:2 8:2 5:2 a:2", Bar(10),
                        Bar(18), kKey, 38));
  Append(bass, BassLine(chords, "1:3 1:3 5:2 8:3 5:3 a:2", Bar(18), Bar(26),
                        kKey, 38));
  Append(bass, BassLine(chords, "1:2 1:2 1:2 1:2 8:2 8:2 5:2 a:2", Bar(26),
                        Bar(30), kKey, 38));
  Append(bass, BassLine(chords, "1:16", Bar(30), Bar(31), kKey, 38));
  Append(bass,
         BassLine(chords, "1:4 r:4 5_:4 c:4", Bar(31), Bar(32), kKey, 38));
  Part bass_part{"bass", PluckBass(0.9), bass};
  bass_part.gain = 0.85;
  bass_part.reverb = 0.05;
  bass_part.legato = 0.85;
  bass_part.seed = 6;

  song.parts = {lead, brass, pad, bells, chip, bass_part};
  AddDrums(song);
  return song;
}

} // namespace audio
