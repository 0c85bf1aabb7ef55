// render_test.cpp — voices sound at their pitch and start and stop without
// clicks; a rendered loop equals the steady state of the music repeating.
#include "analysis.h"
#include "effects.h"
#include "harmony.h"
#include "patches.h"
#include "scores.h"
#include "song.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>

namespace audio {
namespace {

// Spectrum of half a second from `from`, in dB relative to its strongest
// component between 50 Hz and 5 kHz.
struct Spectrum {
  std::vector<double> db;
  double Near(double hz) const;  // strongest within a semitone of hz
  double Below(double hz) const; // strongest below hz
};

Spectrum Analyse(const Stereo &s, size_t from) {
  const size_t size = 16384;
  std::vector<std::complex<double>> buf(size);
  for (size_t i = 0; i < size; ++i) {
    double w = 0.5 - 0.5 * std::cos(2 * kPi * i / size);
    double v = from + i < Frames(s) ? s.l[from + i] + s.r[from + i] : 0.0;
    buf[i] = {v * w, 0};
  }
  Fft(buf);
  Spectrum out;
  double top = 0;
  for (size_t k = 0; k < size / 2; ++k) {
    double f = double(k) * kRate / size;
    if (f >= 50 && f <= 5000)
      top = std::max(top, std::abs(buf[k]));
  }
  for (size_t k = 0; k < size / 2; ++k)
    out.db.push_back(GainToDb(std::abs(buf[k]) / top));
  return out;
}

double Spectrum::Near(double hz) const {
  double best = -300;
  for (size_t k = 0; k < db.size(); ++k) {
    double f = double(k) * kRate / (2 * db.size());
    if (f > hz / 1.06 && f < hz * 1.06)
      best = std::max(best, db[k]);
  }
  return best;
}

double Spectrum::Below(double hz) const {
  double best = -300;
  for (size_t k = 1; k < db.size(); ++k)
    if (double(k) * kRate / (2 * db.size()) < hz)
      best = std::max(best, db[k]);
  return best;
}

TEST(Render, EveryVoiceSoundsAtItsPitchAndEndsInSilence) {
  struct Case {
    const char *name;
    Instrument inst;
  } cases[] = {{"square", SquareLead(0.5, 1.0)},
               {"pulse", SquareLead(0.25, 1.0)},
               {"chip", ChipArp()},
               {"bell", Bell()},
               {"keys", ElectricPiano()},
               {"pad", SawPad(1200)},
               {"bass", PluckBass(1.0)},
               {"brass", Brass()},
               {"flute", Flute()}};
  for (const Case &c : cases) {
    Stereo out = MakeStereo(2 * kRate);
    Rng rng = MakeRng(1);
    RenderNote(c.inst, 69, 0.9, 0.8, rng, out, 0, 0.0);
    // A strong component at the note's pitch and nothing below it, except
    // the bass's sub-octave.
    Spectrum sp = Analyse(out, 2000);
    EXPECT_GT(sp.Near(440), -10) << c.name;
    if (std::string(c.name) == "bass")
      EXPECT_GT(sp.Near(220), -6);
    else
      EXPECT_LT(sp.Below(400), -30) << c.name;
    double peak = 0;
    for (size_t i = 0; i < Frames(out); ++i)
      peak = std::max(peak, double(std::fabs(out.l[i])));
    EXPECT_GT(peak, 0.02) << c.name;
    EXPECT_LT(std::fabs(out.l[0]), 0.01 * peak)
        << c.name << " starts with a click";
    size_t end = static_cast<size_t>((0.8 + TailSeconds(c.inst)) * kRate) + 2;
    EXPECT_LT(std::fabs(out.l[end]), 1e-6) << c.name << " rings past its tail";
    EXPECT_LT(std::fabs(out.l[end - 3]), 0.01 * peak)
        << c.name << " stops with a click";
  }
}

TEST(Render, VibratoAndScoopStayNearThePitch) {
  Instrument lead = SquareLead(0.5, 1.0);
  Stereo out = MakeStereo(kRate * 2);
  Rng rng = MakeRng(3);
  RenderNote(lead, 81, 1.0, 1.5, rng, out, 0, 0.0);
  Spectrum sp = Analyse(out, kRate / 2);
  EXPECT_GT(sp.Near(880), -3);
  EXPECT_LT(sp.Below(830), -30);
}

Song TinySong() {
  Song s;
  s.bpm = 120;
  s.bars = 2;
  s.swing = 0.6;
  s.seed = 5;
  Part bell{"bell", Bell(), ParseNotes("C5:4 E5:4 G5:8 | r:8 C6:8 |")};
  bell.reverb = 0.5;
  bell.echo = 0.4;
  bell.humanise = 3;
  bell.duck = 0.3;
  Part pad{"pad", SawPad(900), ParseNotes("C4:32")};
  pad.reverb = 0.3;
  s.parts = {bell, pad};
  AddDrumBars(s,
              DrumBar{.kick = "x.......x.......", .snare = "....x.......x..x"},
              0, 2);
  return s;
}

TEST(Render, LoopEqualsTheMusicRepeatingForever) {
  Song tiny = TinySong();
  const size_t loop = LoopFrames(tiny);
  ASSERT_EQ(loop, 4u * kRate); // two bars of 4/4 at 120 beats a minute
  Stereo wrapped = MixSong(tiny, loop + 6 * kRate);
  WrapLoop(wrapped, loop);

  // The same bars four times over: the third pass hears the tails of the
  // two before it, as the wrapped loop does. The song keeps its two-bar
  // length, so every repeated note draws the variations of the original.
  Song longer = tiny;
  longer.drums.clear();
  for (Part &p : longer.parts)
    p.notes.clear();
  for (int rep = 0; rep < 4; ++rep) {
    for (size_t k = 0; k < tiny.parts.size(); ++k)
      Append(longer.parts[k].notes, Shift(tiny.parts[k].notes, rep * 32));
    for (DrumHit h : tiny.drums) {
      h.step += rep * 32;
      longer.drums.push_back(h);
    }
  }
  Stereo reference = MixSong(longer, 4 * loop + 6 * kRate);
  double worst = 0, level = 0;
  for (size_t i = 0; i < loop; ++i) {
    worst = std::max(
        worst, double(std::fabs(wrapped.l[i] - reference.l[2 * loop + i])));
    worst = std::max(
        worst, double(std::fabs(wrapped.r[i] - reference.r[2 * loop + i])));
    level = std::max(level, double(std::fabs(reference.l[2 * loop + i])));
  }
  EXPECT_GT(level, 0.05);
  EXPECT_LT(worst, 1e-4 * level);
}

TEST(Render, MasteredLoopHitsLoudnessWithoutSeamOrOverload) {
  Song tiny = TinySong();
  tiny.rms_db = -16;
  Stereo out = RenderSong(tiny);
  Levels m = Measure(out);
  EXPECT_LE(m.peak_db, tiny.ceiling_db + 0.01);
  EXPECT_LT(m.rms_db, -16.0 + 0.1); // limiting may only take a little off
  EXPECT_GT(m.rms_db, -17.0);
  EXPECT_LT(m.seam_jump, 1.0);
  EXPECT_LT(m.seam_slope, 1.0);
  EXPECT_LT(m.dc, 1e-3);
}

TEST(Render, SwingDelaysOnlyTheOffBeats) {
  Song s;
  s.bpm = 105;
  s.swing = 0.57;
  const double per_step = 60.0 * kRate / (105 * 4);
  EXPECT_DOUBLE_EQ(StepToFrame(s, 0), 0);
  EXPECT_DOUBLE_EQ(StepToFrame(s, 4), 4 * per_step);
  EXPECT_NEAR(StepToFrame(s, 2), 2.28 * per_step, 1e-6);
  EXPECT_NEAR(StepToFrame(s, 6), 6.28 * per_step, 1e-6);
  EXPECT_LT(StepToFrame(s, 1), StepToFrame(s, 2));
  EXPECT_LT(StepToFrame(s, 3), StepToFrame(s, 4));
}

TEST(Render, LimiterCatchesPeaksSmoothly) {
  Stereo s = MakeStereo(kRate);
  for (size_t i = 0; i < Frames(s); ++i)
    s.l[i] = s.r[i] =
        static_cast<float>(0.3 * std::sin(2 * kPi * 220.0 * i / kRate));
  s.l[kRate / 2] = 1.5f; // one wild sample
  Limit(s, -1.0, true);
  double ceiling = DbToGain(-1.0);
  for (size_t i = 0; i < Frames(s); ++i)
    ASSERT_LE(std::fabs(s.l[i]), ceiling + 1e-6) << i;
  // Away from the peak the signal is left alone.
  EXPECT_NEAR(s.l[kRate / 10],
              0.3 * std::sin(2 * kPi * 220.0 * (kRate / 10) / kRate), 1e-6);
  // The gain changes gradually: neighbours of the peak are reduced too.
  EXPECT_LT(
      std::fabs(s.r[kRate / 2 + 20]),
      0.3 * std::fabs(std::sin(2 * kPi * 220.0 * (kRate / 2 + 20) / kRate)));
}

} // namespace
} // namespace audio
