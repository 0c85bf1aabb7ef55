// notation.cpp — parser for the score notation.
#include "notation.h"

#include <cctype>
#include <cmath>
#include <map>

namespace audio {

namespace {

std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
      ++i;
    size_t start = i;
    while (i < text.size() &&
           !std::isspace(static_cast<unsigned char>(text[i])))
      ++i;
    if (i > start)
      out.push_back(text.substr(start, i - start));
  }
  return out;
}

[[noreturn]] void Fail(std::string_view what, std::string_view token) {
  throw ParseError(std::string(what) + ": \"" + std::string(token) + "\"");
}

int PitchClass(std::string_view name, size_t &used) {
  static const int kNatural[] = {9, 11, 0, 2, 4, 5, 7}; // A..G
  if (name.empty() || name[0] < 'A' || name[0] > 'G')
    Fail("bad note name", name);
  int pc = kNatural[name[0] - 'A'];
  used = 1;
  while (used < name.size() && (name[used] == '#' || name[used] == 'b')) {
    pc += name[used] == '#' ? 1 : -1;
    ++used;
  }
  return (pc + 12) % 12;
}

double ParseLength(std::string_view text, std::string_view token) {
  if (text.empty())
    Fail("missing length", token);
  double value = 0;
  double scale = 0;
  for (char c : text) {
    if (c == '.' && scale == 0) {
      scale = 1;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      if (scale > 0) {
        scale /= 10;
        value += (c - '0') * scale;
      } else {
        value = value * 10 + (c - '0');
      }
    } else {
      Fail("bad length", token);
    }
  }
  if (value <= 0)
    Fail("length must be positive", token);
  return value;
}

void CheckBar(double position, double start, std::string_view token) {
  double in_bar = std::fmod(position - start, kStepsPerBar);
  if (std::fabs(in_bar) > 1e-9 && std::fabs(in_bar - kStepsPerBar) > 1e-9)
    Fail("bar line inside a bar, at step " + std::to_string(position - start),
         token);
}

} // namespace

int ParsePitch(std::string_view name) {
  static const int kNatural[] = {9, 11, 0, 2, 4, 5, 7}; // A..G
  if (name.empty() || name[0] < 'A' || name[0] > 'G')
    Fail("bad note name", name);
  // Accidentals may cross the octave: Cb4 is B3.
  int semis = kNatural[name[0] - 'A'];
  size_t i = 1;
  for (; i < name.size() && (name[i] == '#' || name[i] == 'b'); ++i)
    semis += name[i] == '#' ? 1 : -1;
  std::string_view octave = name.substr(i);
  bool negative = !octave.empty() && octave[0] == '-';
  if (negative)
    octave.remove_prefix(1);
  if (octave.empty())
    Fail("missing octave", name);
  int oct = 0;
  for (char c : octave) {
    if (!std::isdigit(static_cast<unsigned char>(c)))
      Fail("bad octave", name);
    oct = oct * 10 + (c - '0');
  }
  return ((negative ? -oct : oct) + 1) * 12 + semis;
}

std::vector<Note> ParseNotes(std::string_view text, double start_step) {
  std::vector<Note> notes;
  double pos = start_step;
  double length = 4;
  for (std::string_view token : Tokens(text)) {
    if (token == "|") {
      CheckBar(pos, start_step, token);
      continue;
    }
    std::string_view body = token;
    double velocity = 0.8;
    if (body.back() == '!') {
      velocity = 1.0;
      body.remove_suffix(1);
    } else if (body.back() == '?') {
      velocity = 0.5;
      body.remove_suffix(1);
    }
    size_t colon = body.find(':');
    std::string_view head = body.substr(0, colon);
    if (colon != std::string_view::npos)
      length = ParseLength(body.substr(colon + 1), token);
    if (head == "r") {
      pos += length;
    } else if (head == "~") {
      if (notes.empty())
        Fail("tie without a note", token);
      notes.back().length += length;
      pos += length;
    } else {
      notes.push_back(Note{pos, length, ParsePitch(head), velocity});
      pos += length;
    }
  }
  return notes;
}

double LineLength(const std::vector<Note> &notes) {
  double end = 0;
  for (const Note &n : notes)
    end = std::max(end, n.step + n.length);
  return end;
}

std::vector<Chord> ParseChords(std::string_view text, double start_step) {
  static const std::map<std::string_view, std::vector<int>> kQualities = {
      {"", {0, 4, 7}},          {"m", {0, 3, 7}},
      {"7", {0, 4, 7, 10}},     {"maj7", {0, 4, 7, 11}},
      {"m7", {0, 3, 7, 10}},    {"sus2", {0, 2, 7}},
      {"sus4", {0, 5, 7}},      {"add9", {0, 4, 7, 14}},
      {"6", {0, 4, 7, 9}},      {"m6", {0, 3, 7, 9}},
      {"dim", {0, 3, 6}},       {"aug", {0, 4, 8}},
      {"9", {0, 4, 7, 10, 14}}, {"madd9", {0, 3, 7, 14}},
      {"7sus4", {0, 5, 7, 10}}};
  std::vector<Chord> chords;
  double pos = start_step;
  double length = 16;
  for (std::string_view token : Tokens(text)) {
    if (token == "|") {
      CheckBar(pos, start_step, token);
      continue;
    }
    size_t colon = token.find(':');
    std::string_view head = token.substr(0, colon);
    if (colon != std::string_view::npos)
      length = ParseLength(token.substr(colon + 1), token);
    size_t slash = head.find('/');
    std::string_view name = head.substr(0, slash);
    size_t used = 0;
    int root = PitchClass(name, used);
    auto quality = kQualities.find(name.substr(used));
    if (quality == kQualities.end())
      Fail("unknown chord quality", token);
    int bass = root;
    if (slash != std::string_view::npos) {
      std::string_view bass_name = head.substr(slash + 1);
      size_t bass_used = 0;
      bass = PitchClass(bass_name, bass_used);
      if (bass_used != bass_name.size())
        Fail("bad bass note", token);
    }
    chords.push_back(Chord{pos, length, root, bass, quality->second});
    pos += length;
  }
  return chords;
}

std::vector<DrumHit> ParseGrid(std::string_view grid, Drum drum,
                               double start_step) {
  std::vector<DrumHit> hits;
  double pos = start_step;
  for (char c : grid) {
    switch (c) {
    case ' ':
    case '|':
      continue;
    case 'x':
      hits.push_back({pos, drum, 1.0});
      break;
    case 'o':
      hits.push_back({pos, drum, 0.7});
      break;
    case '-':
      hits.push_back({pos, drum, 0.4});
      break;
    case '.':
      break;
    default:
      Fail("bad drum grid character", std::string_view(&c, 1));
    }
    pos += 1;
  }
  return hits;
}

} // namespace audio
