// sound.cpp — numbered sounds on SDL2_mixer: loading decoded PCM (or Ogg
// streamed as it plays), playing on one channel of its own or on many,
// pause, resume, stop, volume, status.
#include "platform/sound.h"
#include "platform/internal.h"

#include <algorithm>

namespace plat {

using detail::Sound;
using detail::State;

namespace {

constexpr int kChannels = 32; // quick repeated effects overlap

int MixVolume(int volume) { return std::clamp(volume, 0, 100) * 128 / 100; }

Sound *Get(int number) { return State().sounds.Get(number); }

// The slot a new sound takes, its old sound freed; -1 for a bad number.
int ClearSlot(int number) {
  const int n = State().sounds.Choose(number);
  State().sounds.Free(n);
  return n;
}

// The channel number a streamed sound plays on: the mixer streams one
// music at a time, apart from its channels, so a number none of them has.
constexpr int kStreamChannel = 2 * kChannels;

bool PlaysOn(const Sound &s, int channel) {
  if (s.music)
    return channel == kStreamChannel && State().musicStarted == s.music.get() &&
           Mix_PlayingMusic();
  return channel >= 0 && channel < Mix_AllocateChannels(-1) &&
         Mix_GetChunk(channel) == s.chunk.get() && Mix_Playing(channel);
}

// Runs f on the channel, or on every channel of the sound for -1, where
// the sound plays (or is paused).
template <typename F> void OnChannels(const Sound &s, int channel, F f) {
  if (channel >= 0 || s.music) {
    const int ch = channel >= 0 ? channel : kStreamChannel;
    if (PlaysOn(s, ch))
      f(ch);
    return;
  }
  for (int ch = 0; ch < Mix_AllocateChannels(-1); ++ch)
    if (PlaysOn(s, ch))
      f(ch);
}

void Pause(int ch) { ch == kStreamChannel ? Mix_PauseMusic() : Mix_Pause(ch); }
void Resume(int ch) {
  ch == kStreamChannel ? Mix_ResumeMusic() : Mix_Resume(ch);
}
void Halt(int ch) {
  ch == kStreamChannel ? void(Mix_HaltMusic()) : void(Mix_HaltChannel(ch));
}
void Volume(int ch, int v) {
  ch == kStreamChannel ? void(Mix_VolumeMusic(v)) : void(Mix_Volume(ch, v));
}
bool Paused(int ch) {
  return ch == kStreamChannel ? Mix_PausedMusic() : Mix_Paused(ch);
}

} // namespace

bool InitSound() {
  detail::PlatformState &st = State();
  if (st.audioUp)
    return true;
  if (!st.initialised)
    return false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    detail::ReportFailure("SDL_InitSubSystem(audio)");
    return false;
  }
  if (Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, 1024, nullptr, 0) != 0) {
    detail::ReportFailure("Mix_OpenAudioDevice", Mix_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(kChannels);
  // The device format every sound is decoded to (read once: decoding runs
  // on worker threads).
  int rate = 0, channels = 0;
  Uint16 format = 0;
  const int opened = Mix_QuerySpec(&rate, &format, &channels);
  if (!opened || format != AUDIO_S16SYS) {
    detail::ReportFailure("Mix_QuerySpec",
                          opened ? "the device is not 16-bit" : Mix_GetError());
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  st.audioRate = rate;
  st.audioChannels = channels;
  st.audioUp = true;
  return true;
}

bool DecodeSound(const uint8_t *ogg, size_t size, std::vector<uint8_t> &pcm) {
  const detail::PlatformState &st = State();
  if (!st.audioUp)
    return false;
  return detail::DecodeVorbis(ogg, size, st.audioRate,
                              std::min(st.audioChannels, 2), pcm);
}

bool LoadSoundPcm(int number, std::vector<uint8_t> &&pcm) {
  detail::PlatformState &st = State();
  const int n = ClearSlot(number);
  if (n < 0)
    return false;
  if (!st.audioUp || pcm.empty() || pcm.size() > 0xffffffffu)
    return false;
  auto s = std::make_unique<Sound>();
  s->pcm = std::move(pcm);
  // The chunk only points at the PCM, which the sound keeps.
  s->chunk.reset(Mix_QuickLoad_RAW(s->pcm.data(), Uint32(s->pcm.size())));
  if (!s->chunk) {
    detail::ReportFailure("Mix_QuickLoad_RAW", Mix_GetError());
    return false;
  }
  st.sounds.Put(n, std::move(s));
  return true;
}

bool LoadStreamedSound(int number, std::vector<uint8_t> &&ogg) {
  detail::PlatformState &st = State();
  const int n = ClearSlot(number);
  if (n < 0)
    return false;
  if (!st.audioUp || !detail::VorbisStreamable(ogg.data(), ogg.size()))
    return false;
  auto s = std::make_unique<Sound>();
  s->ogg = std::move(ogg);
  SDL_RWops *rw = SDL_RWFromConstMem(s->ogg.data(), int(s->ogg.size()));
  if (!rw) {
    detail::ReportFailure("SDL_RWFromConstMem");
    return false;
  }
  s->music.reset(Mix_LoadMUSType_RW(rw, MUS_OGG, 1));
  if (!s->music) {
    detail::ReportFailure("Mix_LoadMUSType_RW", Mix_GetError());
    return false;
  }
  st.sounds.Put(n, std::move(s));
  return true;
}

bool LoadSound(int number, const uint8_t *ogg, size_t size) {
  std::vector<uint8_t> pcm;
  if (!DecodeSound(ogg, size, pcm)) {
    ClearSlot(number);
    return false;
  }
  return LoadSoundPcm(number, std::move(pcm));
}

int PlaySound(int number, unsigned flags, int volume) {
  Sound *s = Get(number);
  if (!s || !State().audioUp)
    return -1;
  const int loops = (flags & kSoundLoop) ? -1 : 0;
  const int mixVolume = MixVolume(volume >= 0 ? volume : s->volume);
  int channel = -1; // any free one
  if (s->music) {
    if (Mix_PlayMusic(s->music.get(), loops ? -1 : 1) != 0)
      return -1;
    State().musicStarted = s->music.get();
    channel = kStreamChannel;
  } else {
    if (!(flags & kSoundMultiChannel) && s->ownChannel >= 0 &&
        (PlaysOn(*s, s->ownChannel) || !Mix_Playing(s->ownChannel)))
      channel = s->ownChannel; // restarts the previous play there
    channel = Mix_PlayChannel(channel, s->chunk.get(), loops);
    if (channel < 0)
      return -1;
  }
  Volume(channel, mixVolume);
  if (!(flags & kSoundMultiChannel))
    s->ownChannel = channel;
  ++s->plays;
  return channel;
}

void PauseSound(int number, int channel) {
  if (Sound *s = Get(number))
    OnChannels(*s, channel, Pause);
}

void ResumeSound(int number, int channel) {
  if (Sound *s = Get(number))
    OnChannels(*s, channel, Resume);
}

void StopSound(int number, int channel) {
  if (Sound *s = Get(number))
    OnChannels(*s, channel, Halt);
}

void StopSoundAll(int number) { StopSound(number, -1); }

void SetSoundVolume(int number, int volume, int channel) {
  Sound *s = Get(number);
  if (!s)
    return;
  if (channel < 0)
    s->volume = std::clamp(volume, 0, 100); // later plays too
  const int v = MixVolume(volume);
  OnChannels(*s, channel, [v](int ch) { Volume(ch, v); });
}

int SoundStatus(int number, int channel) {
  Sound *s = Get(number);
  if (!s)
    return 0;
  int best = 0;
  // Playing stays true while paused, so paused is asked first.
  OnChannels(*s, channel, [&best](int ch) {
    int st = Paused(ch) ? 2 : 1;
    if (best == 0 || st == 1)
      best = st;
  });
  return best;
}

int SoundPlayCount(int number) {
  Sound *s = Get(number);
  return s ? s->plays : 0;
}

} // namespace plat
