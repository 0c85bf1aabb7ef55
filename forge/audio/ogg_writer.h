// ogg_writer.h — encodes a stereo buffer as Ogg Vorbis with a fixed stream
// serial, so the same samples always give the same bytes.
#pragma once

#include "buffer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace audio {

std::vector<uint8_t> EncodeOgg(const Stereo &pcm, float quality, int serial,
                               const std::string &title);

bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes);

} // namespace audio
