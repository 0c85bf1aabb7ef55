// png_fast.h — the quick PNG path for 8-bit RGB and RGBA pictures.
#pragma once

#include "platform/platform.h"

namespace plat::detail {

enum class FastPng { Done, Failed, NotMine };

// Done: out holds the picture. Failed: the file is damaged. NotMine: a
// valid-looking file of a kind this path leaves to libpng.
FastPng DecodePngFast(const uint8_t *data, size_t size, Picture &out);

} // namespace plat::detail
