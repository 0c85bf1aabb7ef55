// sound.h — sound effects and music: loading, decoding, playing on
// channels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

enum SoundFlags : unsigned { kSoundLoop = 1, kSoundMultiChannel = 2 };

bool InitSound();
bool LoadSound(int number, const uint8_t *ogg, size_t size);
// LoadSound in two steps, so that decoding can run on worker threads:
// DecodeSound (thread-safe, after InitSound) gives PCM in the device's
// format, LoadSoundPcm (this thread) makes it the numbered sound.
bool DecodeSound(const uint8_t *ogg, size_t size, std::vector<uint8_t> &pcm);
bool LoadSoundPcm(int number, std::vector<uint8_t> &&pcm);
// A long sound (music) kept as its Ogg bytes and decoded while it plays,
// one streamed sound at a time, on a channel number of its own. False
// unless the bytes are a whole, intact Ogg Vorbis stream a device can play.
bool LoadStreamedSound(int number, std::vector<uint8_t> &&ogg);
// Returns the channel it plays on, or -1. volume -1 keeps the default.
int PlaySound(int number, unsigned flags, int volume = -1);
void PauseSound(int number, int channel);
void ResumeSound(int number, int channel);
void StopSound(int number, int channel);
void StopSoundAll(int number);
void SetSoundVolume(int number, int volume, int channel = -1);
// 1 playing, 2 paused, 0 stopped (or the channel plays something else).
int SoundStatus(int number, int channel);
// How many times PlaySound started this sound (for tests and the replay
// log); reset by LoadSound.
int SoundPlayCount(int number);

} // namespace plat
