// output_test.cpp — what the game receives: Ogg files that decode to the
// same samples' length and level, identical bytes on every run, and effects
// of the right length that start and end in silence.
#include "analysis.h"
#include "catalogue.h"
#include "effects.h"
#include "ogg_writer.h"
#include "scores.h"
#include "sfx.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace audio {
namespace {

Stereo Tone(double seconds, double hz, double amplitude) {
  Stereo s = MakeStereo(static_cast<size_t>(seconds * kRate));
  for (size_t i = 0; i < Frames(s); ++i) {
    s.l[i] = static_cast<float>(amplitude * std::sin(2 * kPi * hz * i / kRate));
    s.r[i] = static_cast<float>(amplitude *
                                std::sin(2 * kPi * hz * 1.5 * i / kRate));
  }
  return s;
}

TEST(Output, OggRoundTripKeepsLengthLevelAndSerial) {
  Stereo tone = Tone(1.2345, 440, 0.5);
  std::vector<uint8_t> ogg = EncodeOgg(tone, kQuality, 0x1234ABCD, "test");
  ASSERT_GT(ogg.size(), 28u);
  EXPECT_EQ(std::memcmp(ogg.data(), "OggS", 4), 0);
  uint32_t serial =
      ogg[14] | ogg[15] << 8 | ogg[16] << 16 | uint32_t(ogg[17]) << 24;
  EXPECT_EQ(serial, 0x1234ABCDu);
  Decoded d;
  ASSERT_TRUE(DecodeOgg(ogg, d));
  EXPECT_EQ(d.rate, kRate);
  EXPECT_EQ(d.channels, 2);
  EXPECT_EQ(Frames(d.pcm), Frames(tone)); // exact, so loops stay in time
  EXPECT_NEAR(Measure(d.pcm).peak_db, Measure(tone).peak_db, 0.5);
  EXPECT_NEAR(Measure(d.pcm).rms_db, Measure(tone).rms_db, 0.2);
  EXPECT_EQ(EncodeOgg(tone, kQuality, 0x1234ABCD, "test"), ogg);
}

TEST(Output, GarbageDoesNotDecode) {
  std::vector<uint8_t> junk(5000, 0x41);
  Decoded d;
  EXPECT_FALSE(DecodeOgg(junk, d));
}

TEST(Output, EffectsHaveTheirLengthsLevelsAndSilentEdges) {
  struct Expect {
    const char *file;
    double min_s, max_s;
  } expect[] = {{"ui_menu_button_click_24.ogg", 0.05, 0.08},
                {"ui_button_simple_click_01.ogg", 0.08, 0.16},
                {"ui_menu_button_beep_11.ogg", 0.12, 0.18},
                {"collect_coin_03.ogg", 0.13, 0.2},
                {"music_sting_short_groovy_flute_02.ogg", 2.0, 3.0},
                {"troll_monster_laugh_02.ogg", 1.0, 2.0}};
  for (const Expect &e : expect) {
    const SoundEntry *entry = nullptr;
    for (const SoundEntry &s : Catalogue())
      if (std::strcmp(s.file, e.file) == 0)
        entry = &s;
    ASSERT_NE(entry, nullptr) << e.file;
    EXPECT_FALSE(entry->music);
    Stereo s = entry->make();
    double seconds = double(Frames(s)) / kRate;
    EXPECT_GE(seconds, e.min_s) << e.file;
    EXPECT_LE(seconds, e.max_s) << e.file;
    Levels m = Measure(s);
    EXPECT_LE(m.peak_db, -1.5) << e.file;
    EXPECT_GE(m.peak_db, -7.0) << e.file;
    EXPECT_LT(m.edge_start_db, -80) << e.file;
    EXPECT_LT(m.edge_end_db, -60) << e.file;
  }
}

TEST(Output, CatalogueNamesEverySoundOnceWithItsOwnSerial) {
  const char *names[] = {"music1.ogg",
                         "music2.ogg",
                         "music3.ogg",
                         "ui_menu_button_click_24.ogg",
                         "ui_button_simple_click_01.ogg",
                         "music_sting_short_groovy_flute_02.ogg",
                         "troll_monster_laugh_02.ogg",
                         "collect_coin_03.ogg",
                         "ui_menu_button_beep_11.ogg"};
  ASSERT_EQ(Catalogue().size(), std::size(names));
  for (size_t i = 0; i < Catalogue().size(); ++i) {
    EXPECT_STREQ(Catalogue()[i].file, names[i]);
    EXPECT_EQ(Catalogue()[i].music, i < 3);
    for (size_t j = 0; j < i; ++j)
      EXPECT_NE(Catalogue()[i].serial, Catalogue()[j].serial);
  }
}

TEST(Output, ScoresFitTheirLoops) {
  for (const Song &song : {MenuSong(), LevelSong(), FinaleSong()}) {
    // A whole number of frames per bar keeps every bar, and so the loop
    // point, on an exact sample.
    double per_bar = 60.0 * kRate * 4 / song.bpm;
    EXPECT_DOUBLE_EQ(per_bar, std::round(per_bar)) << song.title;
    double seconds = double(LoopFrames(song)) / kRate;
    EXPECT_GE(seconds, 45) << song.title;
    EXPECT_LE(seconds, 120) << song.title;
    for (const Part &p : song.parts) {
      EXPECT_FALSE(p.notes.empty()) << song.title << " " << p.name;
      for (const Note &n : p.notes) {
        EXPECT_GE(n.step, 0) << song.title << " " << p.name;
        EXPECT_LE(n.step + n.length, song.bars * 16.0)
            << song.title << " " << p.name;
        EXPECT_GE(n.midi, 28) << song.title << " " << p.name;
        EXPECT_LE(n.midi, 100) << song.title << " " << p.name;
      }
    }
    for (const DrumHit &h : song.drums)
      EXPECT_LT(h.step, song.bars * 16.0) << song.title;
  }
}

} // namespace
} // namespace audio
