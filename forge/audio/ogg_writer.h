// ogg_writer.h — encodes sound as Ogg Vorbis with a fixed stream serial, so
// the same samples always give the same bytes. The one Ogg encoder of the
// project: the game's tests make their sounds with it too.
#pragma once

#include "buffer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace audio {

// The forge's stereo buffers, at the game's rate.
std::vector<uint8_t> EncodeOgg(const Stereo &pcm, float quality, int serial,
                               const std::string &title);
// Any rate and channel count: one array of `frames` samples (-1..1) per
// channel. Throws when the encoder rejects the settings.
std::vector<uint8_t> EncodeOgg(const std::vector<const float *> &channels,
                               size_t frames, int rate, float quality,
                               int serial, const std::string &title);

bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes);

} // namespace audio
