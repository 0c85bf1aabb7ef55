// notation.h — the compact text notation the scores are written in: note
// lines, chord lines and drum grids, all timed in sixteenth-note steps.
#pragma once

#include "drums.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace audio {

struct ParseError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

constexpr int kStepsPerBar = 16;

struct Note {
  double step;   // start, in sixteenths from the start of the song
  double length; // in sixteenths
  int midi;
  double velocity; // 0..1
};

// A note line: tokens separated by blanks. "C5:4" is C in octave 5 held for
// four sixteenths; "F#4", "Bb3" carry accidentals; "r:2" is a rest; a
// length may be left out to repeat the previous one. A trailing "!" accents
// the note, "?" makes it a ghost note; "~:4" lengthens the previous note.
// "|" is a bar line: the parser checks that it falls on a bar boundary, so a
// miscounted bar is an error rather than a shifted tune.
std::vector<Note> ParseNotes(std::string_view text, double start_step = 0);

// "C5" -> 72 (middle C is C4 = 60).
int ParsePitch(std::string_view name);

struct Chord {
  double step;
  double length;
  int root; // pitch class 0..11
  int bass; // pitch class of the bass note (the root unless slashed)
  std::vector<int> intervals; // above the root, including 0
};

// A chord line: "F:16 Am:8 Bb/D:8 |". Qualities: major, m, 7, maj7, m7,
// sus2, sus4, add9, 6, m6, dim, aug, 9; "/X" names another bass note.
std::vector<Chord> ParseChords(std::string_view text, double start_step = 0);

// A drum grid: one character per sixteenth. "x" full, "o" medium, "-"
// ghost, "." silence; blanks and "|" only help the eye.
std::vector<DrumHit> ParseGrid(std::string_view grid, Drum drum,
                               double start_step);

// Number of sixteenth steps a note or chord line covers.
double LineLength(const std::vector<Note> &notes);

} // namespace audio
