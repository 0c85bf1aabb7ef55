// picture_loader.h — extracting and decoding many pictures on every core
// while the caller consumes them in order on its own thread.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pack {
struct Archive;
}

struct PictureJob {
  std::string name;
  size_t bufferSize;
};

// Calls consume(i, picture) for every job in order, on this thread; a job
// that cannot be extracted or decoded is passed as nullptr and ends the
// walk there. Only a few pictures are decoded ahead, to bound memory. If
// consume throws, the workers are stopped and the exception goes on.
void LoadPictures(pack::Archive &archive, const std::vector<PictureJob> &jobs,
                  const std::function<void(size_t, plat::Picture *)> &consume);
