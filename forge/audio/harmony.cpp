// harmony.cpp — accompaniment generated from chord lines.
#include "harmony.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace audio {

namespace {

int Mod12(int v) { return ((v % 12) + 12) % 12; }

std::vector<int> PitchClasses(const Chord &c) {
  std::vector<int> pcs;
  for (int i : c.intervals) {
    int pc = Mod12(c.root + i);
    if (std::find(pcs.begin(), pcs.end(), pc) == pcs.end())
      pcs.push_back(pc);
  }
  // Five-note chords drop their fifth in a four-voice pad.
  if (pcs.size() > 4)
    pcs.erase(std::find(pcs.begin(), pcs.end(), Mod12(c.root + 7)));
  return pcs;
}

// Every way to place each pitch class once inside [low, high].
void Voicings(const std::vector<int> &pcs, size_t k, int low, int high,
              std::vector<int> &current, std::vector<std::vector<int>> &out) {
  if (k == pcs.size()) {
    std::vector<int> v = current;
    std::sort(v.begin(), v.end());
    if (v.back() - v.front() <= 14) // close or slightly open position
      out.push_back(v);
    return;
  }
  for (int m = low; m <= high; ++m) {
    if (Mod12(m) != pcs[k])
      continue;
    current.push_back(m);
    Voicings(pcs, k + 1, low, high, current, out);
    current.pop_back();
  }
}

int Distance(const std::vector<int> &a, const std::vector<int> &b) {
  // Same voice count: voice by voice; otherwise each note to its nearest.
  int d = 0;
  if (a.size() == b.size()) {
    for (size_t i = 0; i < a.size(); ++i)
      d += std::abs(a[i] - b[i]);
    return d;
  }
  for (int x : a) {
    int best = 99;
    for (int y : b)
      best = std::min(best, std::abs(x - y));
    d += best;
  }
  return d;
}

struct Token {
  std::string text;
  double length;
  double velocity;
};

std::vector<Token> PatternTokens(std::string_view pattern) {
  std::vector<Token> out;
  std::istringstream in{std::string(pattern)};
  std::string word;
  double length = 4;
  while (in >> word) {
    if (word == "|")
      continue;
    double velocity = 0.8;
    if (word.back() == '!') {
      velocity = 1.0;
      word.pop_back();
    } else if (word.back() == '?') {
      velocity = 0.5;
      word.pop_back();
    }
    size_t colon = word.find(':');
    if (colon != std::string::npos) {
      length = std::stod(word.substr(colon + 1));
      word = word.substr(0, colon);
    }
    out.push_back({word, length, velocity});
  }
  return out;
}

// The chord's third, fifth or seventh above its root; suspended and
// missing tones fall back to the nearest sensible note.
int ChordTone(const Chord &c, int degree) {
  for (int i : c.intervals) {
    bool third = degree == 3 && (i == 3 || i == 4);
    bool fifth = degree == 5 && (i == 6 || i == 7 || i == 8);
    bool seventh = degree == 7 && (i == 9 || i == 10 || i == 11);
    if (third || fifth || seventh)
      return i;
  }
  if (degree == 3)
    for (int i : c.intervals)
      if (i == 2 || i == 5)
        return i;
  return degree == 3 ? 4 : degree == 5 ? 7 : 10;
}

} // namespace

bool InKey(const Key &key, int midi) {
  static const int kMajor[] = {0, 2, 4, 5, 7, 9, 11};
  static const int kMinor[] = {0, 2, 3, 5, 7, 8, 10};
  int rel = Mod12(midi - key.tonic);
  for (int s : key.minor ? kMinor : kMajor)
    if (s == rel)
      return true;
  return false;
}

double ChordsLength(const std::vector<Chord> &chords) {
  return chords.empty() ? 0 : chords.back().step + chords.back().length;
}

const Chord &ChordAt(const std::vector<Chord> &chords, double step) {
  double total = ChordsLength(chords);
  double s = std::fmod(step, total);
  if (s < 0)
    s += total;
  for (const Chord &c : chords)
    if (s < c.step + c.length - 1e-9)
      return c;
  return chords.back();
}

std::vector<Note> PadVoicing(const std::vector<Chord> &chords, int low,
                             int high, double velocity) {
  std::vector<Note> out;
  std::vector<int> prev;
  for (const Chord &c : chords) {
    std::vector<std::vector<int>> options;
    std::vector<int> current;
    Voicings(PitchClasses(c), 0, low, high, current, options);
    if (options.empty())
      throw ParseError("no voicing fits the pad range");
    const std::vector<int> *best = &options.front();
    double best_cost = 1e9;
    for (const std::vector<int> &v : options) {
      double cost;
      if (prev.empty()) {
        double mean = 0;
        for (int m : v)
          mean += m;
        cost = std::fabs(mean / v.size() - (low + high) / 2.0);
      } else {
        cost = Distance(v, prev);
      }
      if (cost < best_cost) {
        best_cost = cost;
        best = &v;
      }
    }
    prev = *best;
    for (int m : prev)
      out.push_back(Note{c.step, c.length, m, velocity});
  }
  return out;
}

std::vector<Note> Comp(const std::vector<Note> &pad, std::string_view grid,
                       double gate) {
  std::vector<std::pair<int, double>> hits; // step in bar, velocity
  int step = 0;
  for (char c : grid) {
    if (c == ' ' || c == '|')
      continue;
    if (c == 'x' || c == 'o')
      hits.push_back({step, c == 'x' ? 1.0 : 0.7});
    ++step;
  }
  if (hits.empty())
    throw ParseError("comping grid without hits");
  std::vector<Note> out;
  for (const Note &n : pad) {
    double end = n.step + n.length;
    for (double bar = std::floor(n.step / kStepsPerBar) * kStepsPerBar;
         bar < end; bar += kStepsPerBar) {
      for (size_t h = 0; h < hits.size(); ++h) {
        double at = bar + hits[h].first;
        if (at < n.step - 1e-9 || at >= end - 1e-9)
          continue;
        double next = h + 1 < hits.size() ? bar + hits[h + 1].first
                                          : bar + kStepsPerBar + hits[0].first;
        double length = (std::min(next, end) - at) * gate;
        out.push_back(Note{at, length, n.midi, n.velocity * hits[h].second});
      }
    }
  }
  return out;
}

std::vector<Note> BassLine(const std::vector<Chord> &chords,
                           std::string_view pattern, double from, double to,
                           const Key &key, int low) {
  std::vector<Token> tokens = PatternTokens(pattern);
  double span = 0;
  for (const Token &t : tokens)
    span += t.length;
  if (span <= 0)
    throw ParseError("empty bass pattern");
  std::vector<Note> out;
  double pos = from;
  size_t k = 0;
  while (pos < to - 1e-9) {
    const Token &t = tokens[k];
    k = (k + 1) % tokens.size();
    const Chord &c = ChordAt(chords, pos);
    int root = low + Mod12(c.bass - low);
    int note = root;
    if (t.text == "r") {
      pos += t.length;
      continue;
    } else if (t.text == "1") {
      note = root;
    } else if (t.text == "8") {
      note = root + 12;
    } else if (t.text == "3" || t.text == "5" || t.text == "7") {
      // Chord tones sit just above the bass note, also over a slash bass.
      note = root + Mod12(c.root + ChordTone(c, t.text[0] - '0') - root);
    } else if (t.text == "5_") {
      note = root + Mod12(c.root + ChordTone(c, 5) - root) - 12;
    } else if (t.text == "a" || t.text == "c") {
      // Lead into the next bass note where it will actually be played.
      const Chord &next = ChordAt(chords, pos + t.length);
      int target = low + Mod12(next.bass - low);
      if (target == root) {
        note = root + Mod12(c.root + ChordTone(c, 5) - root) - 12;
      } else if (t.text == "c") {
        note = target - 1;
      } else {
        int dir = target > root ? -1 : 1;
        note = InKey(key, target + dir) ? target + dir : target + 2 * dir;
      }
    } else {
      note = ParsePitch(t.text);
    }
    double length = std::min(t.length, to - pos);
    out.push_back(Note{pos, length, note, t.velocity});
    pos += t.length;
  }
  return out;
}

std::vector<Note> Arpeggio(const std::vector<Chord> &chords, double from,
                           double to, std::string_view pattern, double every,
                           int low, double gate, double velocity) {
  std::vector<int> order;
  std::istringstream in{std::string(pattern)};
  int idx;
  while (in >> idx)
    order.push_back(idx);
  if (order.empty())
    throw ParseError("empty arpeggio pattern");
  std::vector<Note> out;
  size_t k = 0;
  double bar_start = from;
  for (double pos = from; pos < to - 1e-9; pos += every) {
    if (pos >= bar_start + kStepsPerBar - 1e-9) {
      bar_start += kStepsPerBar;
      k = 0;
    }
    const Chord &c = ChordAt(chords, pos);
    std::vector<int> tones;
    for (int m = low; m < low + 24; ++m)
      for (int pc : PitchClasses(c))
        if (Mod12(m) == pc)
          tones.push_back(m);
    int i = order[k % order.size()];
    ++k;
    if (i < 0)
      continue; // a rest in the pattern
    int note = tones[static_cast<size_t>(i) % tones.size()];
    double accent = (std::fmod(pos, 4.0) < 1e-9) ? 1.0 : 0.8;
    out.push_back(Note{pos, every * gate, note, velocity * accent});
  }
  return out;
}

std::vector<Note> HarmonyBelow(const std::vector<Note> &tune,
                               const std::vector<Chord> &chords,
                               const Key &key) {
  std::vector<Note> out;
  for (const Note &n : tune) {
    const Chord &c = ChordAt(chords, n.step);
    int pick = -1;
    for (int d = 3; d <= 9 && pick < 0; ++d)
      for (int pc : PitchClasses(c))
        if (Mod12(n.midi - d) == pc)
          pick = n.midi - d;
    if (pick < 0) {
      // Passing tones take the scale's third below instead.
      pick = n.midi - 3;
      while (!InKey(key, pick) && pick > n.midi - 5)
        --pick;
    }
    out.push_back(Note{n.step, n.length, pick, n.velocity * 0.85});
  }
  return out;
}

std::vector<Note> Transpose(std::vector<Note> notes, int semitones) {
  for (Note &n : notes)
    n.midi += semitones;
  return notes;
}

std::vector<Note> Shift(std::vector<Note> notes, double steps) {
  for (Note &n : notes)
    n.step += steps;
  return notes;
}

std::vector<Note> Scaled(std::vector<Note> notes, double velocity_factor) {
  for (Note &n : notes)
    n.velocity *= velocity_factor;
  return notes;
}

void Append(std::vector<Note> &dst, const std::vector<Note> &src) {
  dst.insert(dst.end(), src.begin(), src.end());
}

} // namespace audio
