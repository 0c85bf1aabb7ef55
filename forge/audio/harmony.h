// harmony.h — turns chord lines into the accompaniment: voice-led pads, bass
// lines from one-bar patterns, arpeggios and a harmony voice under a tune.
#pragma once

#include "notation.h"

#include <string_view>
#include <vector>

namespace audio {

struct Key {
  int tonic; // pitch class
  bool minor;
};

bool InKey(const Key &key, int midi);

// The chord sounding at `step`; past the end the line starts over, because
// every track loops.
const Chord &ChordAt(const std::vector<Chord> &chords, double step);
double ChordsLength(const std::vector<Chord> &chords);

// Sustained chords; each voicing is the one nearest to the previous, so the
// voices move by small steps instead of jumping in parallel.
std::vector<Note> PadVoicing(const std::vector<Chord> &chords, int low,
                             int high, double velocity);

// Strikes sustained chords (from PadVoicing) on the hits of a one-bar grid
// ("x" full, "o" softer); each stroke lasts until the next, times `gate`.
std::vector<Note> Comp(const std::vector<Note> &pad, std::string_view grid,
                       double gate);

// A bass line over the steps [from, to) from a pattern of one or two bars.
// Tokens: "1" root (or the slash bass), "3" third, "5" fifth, "5_" fifth
// below, "7" seventh, "8" octave; "a" a scale step into the next chord's
// root, "c" a semitone below it; "r" a rest; lengths and accents as in note
// lines. Roots lie in [low, low + 11].
std::vector<Note> BassLine(const std::vector<Chord> &chords,
                           std::string_view pattern, double from, double to,
                           const Key &key, int low);

// Chord tones from `low` up two octaves, taken in the order of `pattern`
// (indexes into them, e.g. "0 1 2 3 2 1"), one every `every` steps; the
// pattern restarts with each bar.
std::vector<Note> Arpeggio(const std::vector<Chord> &chords, double from,
                           double to, std::string_view pattern, double every,
                           int low, double gate, double velocity);

// A second voice a third to a sixth below the tune, on chord tones.
std::vector<Note> HarmonyBelow(const std::vector<Note> &tune,
                               const std::vector<Chord> &chords,
                               const Key &key);

std::vector<Note> Transpose(std::vector<Note> notes, int semitones);
std::vector<Note> Shift(std::vector<Note> notes, double steps);
std::vector<Note> Scaled(std::vector<Note> notes, double velocity_factor);
void Append(std::vector<Note> &dst, const std::vector<Note> &src);

} // namespace audio
