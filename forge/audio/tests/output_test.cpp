// output_test.cpp — what the game receives: effects of the right length and
// level that start and end in silence and encode the same every time, and
// scores that fit their loops and keep their keys.
#include "analysis.h"
#include "catalogue.h"
#include "harmony.h"
#include "ogg_writer.h"
#include "scores.h"

#include <gtest/gtest.h>

#include <map>

using namespace audio;

TEST(Output, EffectsHaveTheirLengthLevelAndSilentEdges) {
  const std::map<std::string, std::pair<double, double>> seconds = {
      {"ui_menu_button_click_24.ogg", {0.05, 0.08}},
      {"ui_button_simple_click_01.ogg", {0.08, 0.16}},
      {"ui_menu_button_beep_11.ogg", {0.12, 0.18}},
      {"collect_coin_03.ogg", {0.13, 0.2}},
      {"music_sting_short_groovy_flute_02.ogg", {2.0, 3.0}},
      {"troll_monster_laugh_02.ogg", {1.0, 2.0}}};
  size_t effects = 0;
  for (const SoundEntry &e : Catalogue()) {
    if (e.music)
      continue;
    SCOPED_TRACE(e.file);
    ++effects;
    ASSERT_EQ(seconds.count(e.file), 1u);
    Stereo s = e.make();
    double length = double(Frames(s)) / kRate;
    EXPECT_GE(length, seconds.at(e.file).first);
    EXPECT_LE(length, seconds.at(e.file).second);
    Levels m = Measure(s);
    EXPECT_TRUE(m.peak_db >= -7.0 && m.peak_db <= -1.5) << m.peak_db;
    EXPECT_TRUE(m.edge_start_db < -80 && m.edge_end_db < -60);
    // Decoding and the exact length through Ogg: forge_audio_check's.
    EXPECT_EQ(EncodeOgg(s, kQuality, e.serial, e.file),
              EncodeOgg(s, kQuality, e.serial, e.file));
  }
  EXPECT_EQ(effects, seconds.size());
}

TEST(Output, ScoresFitTheirLoopsAndKeepTheirKeys) {
  const std::pair<Song, Key> songs[] = {{MenuSong(), {5, false}},    // F major
                                        {LevelSong(), {9, true}},    // A minor
                                        {FinaleSong(), {2, false}}}; // D major
  for (const auto &[song, key] : songs) {
    SCOPED_TRACE(song.title);
    // Every bar, and so the loop point, starts on an exact sample.
    EXPECT_EQ(std::fmod(StepToFrame(song, kStepsPerBar), 1.0), 0.0);
    const double end = song.bars * double(kStepsPerBar);
    double in_key = 0, all = 0;
    for (const Part &p : song.parts) {
      EXPECT_FALSE(p.notes.empty()) << p.name;
      for (const Note &n : p.notes) {
        EXPECT_TRUE(n.step >= 0 && n.step + n.length <= end) << p.name;
        EXPECT_TRUE(n.midi >= 28 && n.midi <= 100) << p.name << " " << n.midi;
        all += n.length;
        in_key += InKey(key, n.midi) ? n.length : 0;
      }
    }
    // A few chromatic notes; a neighbouring key would take a tenth.
    EXPECT_GT(in_key / all, 0.94);
    for (const DrumHit &h : song.drums)
      EXPECT_LT(h.step, end);
  }
}
