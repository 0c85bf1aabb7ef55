// png_fast.h — the quick PNG path for 8-bit RGB and RGBA pictures.
#pragma once

#include "platform/pictures.h"

namespace plat::detail {

enum class FastPng { Done, Failed, NotMine };

// Done: out holds the picture. Failed: the file is damaged. NotMine: a
// valid-looking file of a kind this path leaves to libpng.
FastPng DecodePngFast(const uint8_t *data, size_t size, Picture &out);

// Checks a PNG without decoding it: the signature, every chunk whole with
// its checksum right, the header first with a size pictures may have, the
// end chunk last. Gives the picture's size.
bool PngIntact(const uint8_t *data, size_t size, int &width, int &height);

} // namespace plat::detail
