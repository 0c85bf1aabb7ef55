// render_test.cpp — voices sound at their pitch and start and stop without
// clicks; a rendered loop equals the steady state of the music repeating.
#include "patches.h"
#include "song.h"
#include "spectrum.h"

#include <gtest/gtest.h>

using namespace audio;

TEST(Render, EveryVoiceSoundsAtItsPitchAndEndsInSilence) {
  const struct {
    const char *name;
    Instrument inst;
    int midi;
  } cases[] = {{"square", SquareLead(0.5, 1.0), 69},
               {"pulse", SquareLead(0.25, 1.0), 69},
               {"scoop and vibrato", SquareLead(0.5, 1.0), 81},
               {"chip", ChipArp(), 69},
               {"bell", Bell(), 69},
               {"keys", ElectricPiano(), 69},
               {"pad", SawPad(1200), 69},
               {"bass", PluckBass(1.0), 69},
               {"brass", Brass(), 69},
               {"flute", Flute(), 69}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Stereo out = MakeStereo(2 * kRate);
    Rng rng = MakeRng(1);
    RenderNote(c.inst, c.midi, 0.9, 0.8, rng, out, 0, 0.0);
    // Strong at the note's pitch, nothing below but the bass's sub-octave.
    const double hz = MidiToHz(c.midi);
    audio_test::Spectrum sp(out.l, 2000, 16384);
    EXPECT_GT(sp.Db(hz / 1.06, hz * 1.06), -10);
    if (std::string_view(c.name) == "bass")
      EXPECT_GT(sp.Db(hz / 2 / 1.06, hz / 2 * 1.06), -6);
    else
      EXPECT_LT(sp.Db(1, hz / 1.06), -30);
    float peak = 0;
    for (float v : out.l)
      peak = std::max(peak, std::fabs(v));
    EXPECT_GT(peak, 0.02);
    EXPECT_LT(std::fabs(out.l[0]), 0.01 * peak) << "starts with a click";
    size_t end = size_t((0.8 + TailSeconds(c.inst)) * kRate) + 2;
    EXPECT_LT(std::fabs(out.l[end]), 1e-6) << "rings past its tail";
    EXPECT_LT(std::fabs(out.l[end - 3]), 0.01 * peak) << "stops with a click";
  }
}

TEST(Render, SongKeepsTimeAndIsMasteredWithoutSeamOrOverload) {
  Song tiny;
  tiny.bars = 2;
  tiny.swing = 0.6;
  tiny.seed = 5;
  Part bell{"bell", Bell(), ParseNotes("C5:4 E5:4 G5:8 | r:8 C6:8 |")};
  bell.reverb = 0.5;
  bell.echo = 0.4;
  bell.humanise = 3;
  tiny.parts = {bell, Part{"pad", SawPad(900), ParseNotes("C4:32")}};
  AddDrumBars(tiny, {.kick = "x.......x.......", .snare = "....x.......x..x"},
              0, 2);
  ASSERT_EQ(LoopFrames(tiny), 4u * kRate); // two bars of 4/4 at 120 bpm
  // Swing delays the off-beats within each beat; a sixteenth is kRate / 8.
  const double swung[] = {0, 1.2, 2.4, 3.2, 4, 5.2, 6.4};
  for (int step = 0; step < 7; ++step)
    EXPECT_NEAR(StepToFrame(tiny, step), swung[step] * kRate / 8, 1e-6) << step;
  tiny.rms_db = -16;
  Stereo out = RenderSong(tiny), again = RenderSong(tiny);
  // The ceiling, the seam and DC of every real score: forge_audio_check's.
  Levels m = Measure(out);
  EXPECT_TRUE(m.rms_db > -17.0 && m.rms_db < -16.0 + 0.1) << m.rms_db;
  // Rendered again (as on the forge's other thread): the same samples.
  EXPECT_TRUE(again.l == out.l && again.r == out.r);
}
