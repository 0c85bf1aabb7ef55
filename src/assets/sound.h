// sound.h — the sound service: effects and the looping music tracks of the
// catalogue. Everything the game plays goes through a sink that plays on the
// platform, or, in tests, only records what was asked.
#pragma once

#include <vector>

enum class SoundAsk { Effect, StartMusic, StopMusic, PauseMusic, ResumeMusic };

struct SoundRequest {
  SoundAsk what = SoundAsk::Effect;
  int sound = -1; // the sound's number; -1 for pause and resume
  int volume = -1;
  bool operator==(const SoundRequest &) const = default;
};

struct SoundSink {
  bool recording = false;             // tests: record, play nothing
  std::vector<SoundRequest> requests; // what was asked while recording
  int musicChannel = -1;              // the channel of the last started track
};

// Plays an effect on a channel of its own; volume -1 is its default.
void PlayEffect(SoundSink &sink, int sound, int volume = -1);
// Starts the track looping on a channel of its own and keeps the channel.
void StartMusic(SoundSink &sink, int track);
void StopMusic(SoundSink &sink, int track);
// Pauses each music track that is playing / resumes each that is paused.
void PauseMusic(SoundSink &sink);
void ResumeMusic(SoundSink &sink);
// How many requests of this kind for this sound were recorded.
int CountRequests(const SoundSink &sink, SoundAsk what, int sound);
