// spectrogram.h — a picture of a sound for review: waveform overview on top,
// log-frequency spectrogram below, written as PNG.
#pragma once

#include "buffer.h"

#include <string>

namespace audio {

bool WriteSpectrogram(const Stereo &s, const std::string &png_path);

} // namespace audio
