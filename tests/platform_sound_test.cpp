// platform_sound_test.cpp — sound loading and channel play on SDL's dummy
// audio driver, which mixes in real time.
#include "platform_helpers.h"
#include "support/ogg_rate.h"

#include "ogg_writer.h"
#include "platform/clock.h"
#include "platform/sound.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

using namespace plat_test;

namespace {

struct SoundTest : PlatformTest {
  void SetUp() override {
    PlatformTest::SetUp();
    ASSERT_TRUE(plat::InitSound());
  }
};

// A 440 Hz tone, or noise (which takes many pages), through the sound
// forge's encoder.
std::vector<uint8_t> Tone(double seconds, int rate, int channels,
                          bool noise = false) {
  const int frames = int(seconds * rate);
  std::vector<std::vector<float>> samples(static_cast<size_t>(channels));
  std::vector<const float *> planes;
  for (int c = 0; c < channels; ++c) {
    for (int i = 0; i < frames; ++i)
      samples[c].push_back(
          float(noise ? int16_t(i * 7919 + c * 104729)
                      : int16_t(8000 * std::sin(i * 2 * M_PI * 440 / rate))) /
          32768.0f);
    planes.push_back(samples[c].data());
  }
  return audio::EncodeOgg(planes, size_t(frames), rate, 0.4f, 1, "tone");
}

// SoundStatus of each (sound, channel) pair: 0 stopped, 1 playing, 2 paused.
std::vector<int> Statuses(std::initializer_list<std::pair<int, int>> plays) {
  std::vector<int> out;
  for (const auto &[sound, channel] : plays)
    out.push_back(plat::SoundStatus(sound, channel));
  return out;
}
using V = std::vector<int>;

TEST_F(SoundTest, MultiChannelPlaysOverlapOthersKeepOneChannel) {
  std::vector<uint8_t> ogg = Tone(2.0, 44100, 2);
  ASSERT_TRUE(plat::LoadSound(3, ogg.data(), ogg.size()));
  ASSERT_TRUE(plat::LoadSound(4, ogg.data(), ogg.size()));
  const int a = plat::PlaySound(3, plat::kSoundMultiChannel);
  const int b = plat::PlaySound(3, plat::kSoundMultiChannel, 50);
  ASSERT_GE(std::min(a, b), 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(plat::SoundPlayCount(3), 2);
  EXPECT_EQ(Mix_Volume(b, -1), 64); // volumes 0-100 are the mixer's 0-128
  EXPECT_EQ(Statuses({{3, a}, {3, b}}), V({1, 1}));
  plat::StopSound(3, a);
  EXPECT_EQ(Statuses({{3, a}, {3, b}}), V({0, 1}));
  plat::PauseSound(3, b);
  EXPECT_EQ(plat::SoundStatus(3, b), 2);
  plat::ResumeSound(3, b);
  plat::SetSoundVolume(3, 10, b);
  EXPECT_EQ(plat::SoundStatus(3, b), 1);
  EXPECT_EQ(Mix_Volume(b, -1), 12);
  // Another sound never answers for this channel, nor stops it.
  plat::StopSound(4, b);
  EXPECT_EQ(Statuses({{4, b}, {3, b}}), V({0, 1}));
  // A volume for every play to come is held to 100.
  plat::SetSoundVolume(3, 150);
  EXPECT_EQ(Mix_Volume(plat::PlaySound(3, plat::kSoundMultiChannel), -1), 128);
  plat::StopSoundAll(3);
  EXPECT_EQ(plat::SoundStatus(3, b), 0);

  // Without kSoundMultiChannel a sound keeps one channel.
  ASSERT_TRUE(plat::LoadSound(0, ogg.data(), ogg.size()));
  const int first = plat::PlaySound(0, plat::kSoundLoop);
  ASSERT_GE(first, 0);
  EXPECT_EQ(plat::PlaySound(0, plat::kSoundLoop), first);
  // A multi-channel play of another sound does not take that channel.
  ASSERT_TRUE(plat::LoadSound(1, ogg.data(), ogg.size()));
  EXPECT_NE(plat::PlaySound(1, plat::kSoundMultiChannel), first);
  EXPECT_EQ(plat::SoundPlayCount(0), 2);
  // Reloading resets the count.
  ASSERT_TRUE(plat::LoadSound(0, ogg.data(), ogg.size()));
  EXPECT_EQ(plat::SoundPlayCount(0), 0);
}

TEST_F(SoundTest, ShortSoundsEndUnlessLooped) {
  const std::vector<uint8_t> ogg = Tone(0.05, 44100, 2);
  ASSERT_TRUE(plat::LoadSound(2, ogg.data(), ogg.size()));
  ASSERT_TRUE(plat::LoadStreamedSound(5, std::vector<uint8_t>(ogg)));
  const int effect = plat::PlaySound(2, 0), stream = plat::PlaySound(5, 0);
  ASSERT_GE(effect, 0);
  ASSERT_GE(stream, 0);
  for (int i = 0; i < 100 && (plat::SoundStatus(2, effect) != 0 ||
                              plat::SoundStatus(5, stream) != 0);
       ++i)
    plat::Sleep(20);
  EXPECT_EQ(plat::SoundStatus(2, effect), 0);
  EXPECT_EQ(plat::SoundStatus(5, stream), 0);
  // The shortest stream, one frame, is still a sound.
  EXPECT_TRUE(plat::LoadStreamedSound(6, Tone(1.5 / 44100, 44100, 2)));
}

TEST_F(SoundTest, DamagedSoundsAreRefusedAndNeverPlay) {
  const std::vector<uint8_t> ogg = Tone(0.5, 44100, 2);
  std::vector<uint8_t> noise(5000), flipped = ogg, trailing = ogg, slow = ogg;
  for (size_t i = 0; i < noise.size(); ++i)
    noise[i] = uint8_t(i * 7919 >> 3);
  flipped[flipped.size() / 2] ^= 0x40; // a page checksum fails
  trailing.insert(trailing.end(), 100, 0x55);
  ASSERT_TRUE(ogg_test::SetVorbisRate(slow, 1)); // a valid page claiming 1 Hz
  // Bytes, and whether decoding them whole must fail too (streams must be
  // whole and intact).
  const std::pair<std::vector<uint8_t>, bool> cases[] = {
      {{}, true},
      {std::vector<uint8_t>(ogg.begin(), ogg.begin() + 40), true},
      {std::vector<uint8_t>(ogg.begin(), ogg.end() - 10), false},
      {noise, true},
      {flipped, false},
      {trailing, false},
      {slow, true},
      {Tone(0, 44100, 2), true}}; // no sound at all
  // A failed load frees what the number held.
  for (const auto &[bytes, undecodable] : cases) {
    SCOPED_TRACE(bytes.size());
    ASSERT_TRUE(plat::LoadStreamedSound(1, std::vector<uint8_t>(ogg)));
    EXPECT_FALSE(plat::LoadStreamedSound(1, std::vector<uint8_t>(bytes)));
    EXPECT_EQ(plat::PlaySound(1, 0), -1);
    if (undecodable) {
      ASSERT_TRUE(plat::LoadSound(1, ogg.data(), ogg.size()));
      EXPECT_FALSE(plat::LoadSound(1, bytes.data(), bytes.size()));
      EXPECT_EQ(plat::PlaySound(1, 0), -1);
      EXPECT_EQ(plat::SoundStatus(1, 0), 0);
    }
  }
  // A page missing in the middle is a gap: the rest is still heard, at the
  // device's rate and at another.
  for (std::vector<uint8_t> gap :
       {Tone(4.0, 44100, 2, true), Tone(4.0, 22050, 1, true)}) {
    const char *page = "OggS";
    const auto from = std::search(gap.begin() + long(gap.size() / 3), gap.end(),
                                  page, page + 4);
    const auto to = std::search(from + 1, gap.end(), page, page + 4);
    ASSERT_NE(to, gap.end());
    gap.erase(from, to);
    EXPECT_TRUE(plat::LoadSound(2, gap.data(), gap.size()));
    EXPECT_GT(plat::SoundPcmBytes(2), 44100u);
  }
  // Cut in the middle of the audio: what decoded is kept or the file is
  // refused, but nothing worse.
  if (plat::LoadSound(1, ogg.data(), ogg.size() / 2)) {
    EXPECT_GT(plat::SoundPcmBytes(1), 0u);
  }
}

// Other rates and mono become the device's 44,100 Hz stereo whole (the
// tail is not lost), scaled as the header says. A header rate far below
// the device's is refused before resampling: 25 ms said to be at 1 Hz
// would become eighteen minutes, more than any decoded sound may hold.
TEST_F(SoundTest, OtherRatesAreConvertedWholeAndAbsurdOnesRefused) {
  // Seconds, rate, channels, the rate then written into the header (0:
  // none), the device's frames (0: refused).
  const struct {
    double seconds;
    int rate, channels;
    uint32_t header;
    double frames;
  } rows[] = {{1.0, 22050, 1, 0, 44100},
              {0.5, 48000, 2, 0, 22050},
              {0.025, 44100, 1, 8000, 1102 * 44100 / 8000.0},
              {0.025, 44100, 2, 8000, 1102 * 44100 / 8000.0},
              {0.025, 44100, 1, 1, 0},
              {0.025, 44100, 2, 1, 0}};
  for (const auto &row : rows) {
    SCOPED_TRACE(std::to_string(row.rate) + " to " +
                 std::to_string(row.header));
    std::vector<uint8_t> ogg = Tone(row.seconds, row.rate, row.channels), pcm;
    if (row.header) {
      ASSERT_TRUE(ogg_test::SetVorbisRate(ogg, row.header));
    }
    const bool ok = row.frames > 0;
    EXPECT_EQ(plat::DecodeSound(ogg.data(), ogg.size(), pcm), ok);
    EXPECT_NEAR(double(pcm.size()) / 4, row.frames, 2); // 16-bit stereo
    if (ok) { // still the tone, not one sample held
      const auto *s16 = reinterpret_cast<const int16_t *>(pcm.data());
      EXPECT_GT(*std::max_element(s16, s16 + pcm.size() / 2), 6000);
    }
    EXPECT_EQ(plat::LoadSound(1, ogg.data(), ogg.size()), ok);
    EXPECT_EQ(plat::SoundPcmBytes(1), ok ? pcm.size() : 0u);
  }
}

TEST_F(SoundTest, StreamedSoundsPlayOneAtATimeAndControlLikeChannels) {
  std::vector<uint8_t> ogg = Tone(1.0, 22050, 1);
  ASSERT_TRUE(plat::LoadStreamedSound(0, std::vector<uint8_t>(ogg)));
  ASSERT_TRUE(plat::LoadStreamedSound(1, std::vector<uint8_t>(ogg)));
  ASSERT_TRUE(plat::LoadSound(3, ogg.data(), ogg.size()));
  const int a = plat::PlaySound(0, plat::kSoundLoop);
  ASSERT_GE(a, 0);
  plat::PauseSound(0, a);
  plat::StopSound(1, a); // not its play: no effect
  // Sound 1 is not the one playing there.
  EXPECT_EQ(Statuses({{0, a}, {0, -1}, {1, a}}), V({2, 2, 0}));
  plat::ResumeSound(0, -1);
  // An effect's channels and the stream never answer for each other.
  EXPECT_EQ(plat::SoundStatus(0, plat::PlaySound(3, 0)), 0);
  plat::StopSound(3, -1);
  EXPECT_EQ(plat::SoundStatus(0, a), 1);
  // Starting another stream ends the first, and plays even where the
  // first was paused.
  plat::PauseSound(0, a);
  const int b = plat::PlaySound(1, plat::kSoundLoop);
  EXPECT_EQ(Statuses({{1, b}, {0, a}}), V({1, 0}));
  plat::StopSoundAll(1);
  EXPECT_EQ(V({plat::SoundStatus(1, b), plat::SoundPlayCount(0),
               plat::SoundPlayCount(1)}),
            V({0, 1, 1}));
}

} // namespace
