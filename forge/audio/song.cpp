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

// Gain curve that dips after every kick, computed around the loop so the
// dip continues correctly into the wrapped tail.
std::vector<float> DuckCurve(const Song &song, size_t frames, size_t loop,
                             double depth) {
  std::vector<double> kicks;
  for (const DrumHit &h : song.drums)
    if (h.drum == Drum::Kick)
      kicks.push_back(StepToFrame(song, h.step));
  std::sort(kicks.begin(), kicks.end());
  std::vector<float> curve(frames, 1.0f);
  if (kicks.empty() || depth <= 0)
    return curve;
  const double recover = 0.13 * kRate;
  for (size_t i = 0; i < frames; ++i) {
    double t = static_cast<double>(i % loop);
    auto it = std::upper_bound(kicks.begin(), kicks.end(), t);
    double last = it == kicks.begin() ? kicks.back() - double(loop) : *(it - 1);
    double since = t - last;
    double dip = depth * std::exp(-since / recover);
    // A short ramp into the dip so the curve itself never clicks.
    double ramp = std::min(1.0, since / (0.004 * kRate));
    curve[i] = static_cast<float>(1.0 - dip * ramp);
  }
  return curve;
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

  Stereo bus = MakeStereo(frames);
  for (const Part &part : song.parts) {
    Rng rng = MakeRng(song.seed * 7919 + part.seed);
    std::fill(bus.l.begin(), bus.l.end(), 0.0f);
    std::fill(bus.r.begin(), bus.r.end(), 0.0f);
    for (const Note &n : part.notes) {
      double start = StepToFrame(song, n.step);
      double end = StepToFrame(song, n.step + n.length);
      double jitter = part.humanise * 0.001 * kRate * Bipolar(rng);
      double at = std::max(0.0, start + jitter);
      double gate = (end - start) * part.legato / kRate;
      double velocity = n.velocity * (1.0 + 0.04 * Bipolar(rng));
      RenderNote(part.instrument, n.midi, velocity, gate, rng, bus,
                 static_cast<size_t>(std::llround(at)), part.pan);
    }
    if (part.duck > 0) {
      std::vector<float> curve = DuckCurve(song, frames, loop, part.duck);
      for (size_t i = 0; i < frames; ++i) {
        bus.l[i] *= curve[i];
        bus.r[i] *= curve[i];
      }
    }
    AddStereo(dry, bus, part.gain);
    AddStereo(reverb_send, bus, part.gain * part.reverb);
    AddStereo(echo_send, bus, part.gain * part.echo);
  }

  DrumKit kit = MakeDrumKit(song.seed);
  Rng rng = MakeRng(song.seed ^ 0xD5u);
  for (const DrumHit &h : song.drums) {
    int d = static_cast<int>(h.drum);
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
