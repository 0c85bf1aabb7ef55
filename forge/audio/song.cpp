// song.cpp — renders a song into a looping, mastered stereo buffer.
#include "song.h"

#include "synth.h"

#include <algorithm>
#include <cmath>

namespace audio {

namespace {

double FramesPerStep(const Song &song) {
  return 60.0 * kRate / (song.bpm * 4.0);
}

// How far below full level a ducked part is pushed at each frame: a dip
// after every kick, computed around the loop so that it continues correctly
// into the wrapped tail. Each part scales it by its own depth.
std::vector<float> KickDip(const Song &song, size_t frames, size_t loop) {
  std::vector<double> kicks;
  for (const DrumHit &h : song.drums)
    if (h.drum == Drum::Kick)
      kicks.push_back(StepToFrame(song, h.step));
  std::sort(kicks.begin(), kicks.end());
  std::vector<float> dip(frames, 0.0f);
  if (kicks.empty())
    return dip;
  const double recover = 0.13 * kRate;
  for (size_t i = 0; i < frames; ++i) {
    double t = static_cast<double>(i % loop);
    auto it = std::upper_bound(kicks.begin(), kicks.end(), t);
    double last = it == kicks.begin() ? kicks.back() - double(loop) : *(it - 1);
    double since = t - last;
    // A short ramp into the dip so the curve itself never clicks.
    double ramp = std::min(1.0, since / (0.004 * kRate));
    dip[i] = static_cast<float>(std::exp(-since / recover) * ramp);
  }
  return dip;
}

// Every note draws its small random variations from its own place in the
// loop, so a note sounds the same however the rest of the score changes,
// and a bar repeated in a longer score sounds exactly like the original.
Rng NoteRng(const Song &song, uint64_t voice, double step, int pitch,
            double loop_steps) {
  double place = std::fmod(step, loop_steps);
  uint64_t key = static_cast<uint64_t>(std::llround(place * 64.0));
  return MakeRng(((song.seed * 0x9E3779B1ull + voice) * 0x85EBCA77ull + key) *
                     0xC2B2AE3Dull +
                 static_cast<uint64_t>(pitch));
}

double DrumReverb(Drum d) {
  switch (d) {
  case Drum::Snare:
  case Drum::Clap:
    return 0.35;
  case Drum::LowTom:
  case Drum::MidTom:
  case Drum::HighTom:
    return 0.3;
  case Drum::Crash:
    return 0.25;
  case Drum::Kick:
    return 0.04;
  default:
    return 0.12;
  }
}

} // namespace

double StepToFrame(const Song &song, double step) {
  double beat = std::floor(step / 4.0);
  double p = step - beat * 4.0;
  double off = 4.0 * song.swing; // where the off-beat eighth lands
  double warped = p < 2.0 ? p * off / 2.0 : off + (p - 2.0) * (4.0 - off) / 2.0;
  return (beat * 4.0 + warped) * FramesPerStep(song);
}

size_t LoopFrames(const Song &song) {
  return static_cast<size_t>(
      std::llround(song.bars * kStepsPerBar * FramesPerStep(song)));
}

Stereo MixSong(const Song &song, size_t frames) {
  const size_t loop = LoopFrames(song);
  Stereo dry = MakeStereo(frames);
  Stereo reverb_send = MakeStereo(frames);
  Stereo echo_send = MakeStereo(frames);

  std::vector<float> dip = KickDip(song, frames, loop);
  Stereo note;
  const double loop_steps = song.bars * double(kStepsPerBar);
  for (const Part &part : song.parts) {
    for (const Note &n : part.notes) {
      Rng rng = NoteRng(song, part.seed, n.step, n.midi, loop_steps);
      double start = StepToFrame(song, n.step);
      double end = StepToFrame(song, n.step + n.length);
      double jitter = part.humanise * 0.001 * kRate * Bipolar(rng);
      size_t at =
          static_cast<size_t>(std::llround(std::max(0.0, start + jitter)));
      double gate = (end - start) * part.legato / kRate;
      double velocity = n.velocity * (1.0 + 0.04 * Bipolar(rng));
      // Each note is made on its own and then mixed into the three buses.
      size_t length =
          static_cast<size_t>((gate + TailSeconds(part.instrument)) * kRate) +
          2;
      note.l.assign(length, 0.0f);
      note.r.assign(length, 0.0f);
      RenderNote(part.instrument, n.midi, velocity, gate, rng, note, 0,
                 part.pan);
      size_t count = at < frames ? std::min(length, frames - at) : 0;
      for (size_t i = 0; i < count; ++i) {
        size_t k = at + i;
        double g = part.gain * (1.0 - part.duck * dip[k]);
        double l = note.l[i] * g, r = note.r[i] * g;
        dry.l[k] += static_cast<float>(l);
        dry.r[k] += static_cast<float>(r);
        reverb_send.l[k] += static_cast<float>(l * part.reverb);
        reverb_send.r[k] += static_cast<float>(r * part.reverb);
        echo_send.l[k] += static_cast<float>(l * part.echo);
        echo_send.r[k] += static_cast<float>(r * part.echo);
      }
    }
  }

  DrumKit kit = MakeDrumKit(song.seed, song.tuning);
  for (const DrumHit &h : song.drums) {
    int d = static_cast<int>(h.drum);
    Rng rng = NoteRng(song, 0xD5, h.step, d, loop_steps);
    const std::vector<float> &sample =
        kit.samples[d][NextBits(rng) % kDrumVariations];
    double velocity = std::pow(h.velocity, 1.3) * (1.0 + 0.06 * Bipolar(rng));
    size_t at = static_cast<size_t>(std::llround(StepToFrame(song, h.step)));
    double gain = velocity * song.drum_gain;
    AddMono(dry, at, sample.data(), sample.size(), gain, DrumPan(h.drum));
    AddMono(reverb_send, at, sample.data(), sample.size(),
            gain * DrumReverb(h.drum), DrumPan(h.drum));
  }

  size_t echo_frames =
      static_cast<size_t>(std::llround(song.echo_steps * FramesPerStep(song)));
  Stereo echo = PingPong(echo_send, echo_frames, song.echo_feedback, 3500);
  AddStereo(reverb_send, echo, 0.5);
  Stereo wet = Reverb(reverb_send, song.reverb);
  AddStereo(dry, echo, 1.0);
  AddStereo(dry, wet, 1.0);
  return dry;
}

Stereo RenderSong(const Song &song) {
  const size_t loop = LoopFrames(song);
  // Six seconds is far longer than any note or echo takes to die away.
  Stereo dry = MixSong(song, loop + static_cast<size_t>(6.0 * kRate));
  RemoveDc(dry, 18.0);
  WrapLoop(dry, loop);
  NormaliseRms(dry, song.rms_db);
  Limit(dry, song.ceiling_db, true);
  return dry;
}

void AddHit(Song &song, double step, Drum drum, double velocity) {
  song.drums.push_back(DrumHit{step, drum, velocity});
}

void AddDrumBars(Song &song, const DrumBar &bar, int first_bar, int count) {
  for (int b = first_bar; b < first_bar + count; ++b) {
    double at = b * kStepsPerBar;
    for (auto [grid, drum] :
         {std::pair{bar.kick, Drum::Kick}, std::pair{bar.snare, Drum::Snare},
          std::pair{bar.hat, Drum::ClosedHat},
          std::pair{bar.open_hat, Drum::OpenHat},
          std::pair{bar.clap, Drum::Clap},
          std::pair{bar.extra, bar.extra_drum}}) {
      std::vector<DrumHit> hits = ParseGrid(grid, drum, at);
      song.drums.insert(song.drums.end(), hits.begin(), hits.end());
    }
  }
}

} // namespace audio
