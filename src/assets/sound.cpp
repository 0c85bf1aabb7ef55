// sound.cpp — the sound service on the platform's channels.
#include "assets/sound.h"

#include <algorithm>

#include "assets/numbers.h"
#include "platform/sound.h"

namespace {

constexpr int kTracks[] = {num::kMenuMusic, num::kLevelMusic,
                           num::kFinaleMusic};

bool Recorded(SoundSink &sink, SoundAsk what, int sound, int volume) {
  if (!sink.recording)
    return false;
  sink.requests.push_back({what, sound, volume});
  return true;
}

} // namespace

void PlayEffect(SoundSink &sink, int sound, int volume) {
  if (!Recorded(sink, SoundAsk::Effect, sound, volume))
    plat::PlaySound(sound, plat::kSoundMultiChannel, volume);
}

void StartMusic(SoundSink &sink, int track) {
  if (!Recorded(sink, SoundAsk::StartMusic, track, -1))
    sink.musicChannel =
        plat::PlaySound(track, plat::kSoundLoop | plat::kSoundMultiChannel);
}

void StopMusic(SoundSink &sink, int track) {
  if (!Recorded(sink, SoundAsk::StopMusic, track, -1))
    plat::StopSound(track, sink.musicChannel);
}

void PauseMusic(SoundSink &sink) {
  if (Recorded(sink, SoundAsk::PauseMusic, -1, -1))
    return;
  for (int track : kTracks)
    if (plat::SoundStatus(track, sink.musicChannel) == 1)
      plat::PauseSound(track, sink.musicChannel);
}

void ResumeMusic(SoundSink &sink) {
  if (Recorded(sink, SoundAsk::ResumeMusic, -1, -1))
    return;
  for (int track : kTracks)
    if (plat::SoundStatus(track, sink.musicChannel) == 2)
      plat::ResumeSound(track, sink.musicChannel);
}

int CountRequests(const SoundSink &sink, SoundAsk what, int sound) {
  return static_cast<int>(std::count_if(
      sink.requests.begin(), sink.requests.end(), [&](const SoundRequest &r) {
        return r.what == what && r.sound == sound;
      }));
}
