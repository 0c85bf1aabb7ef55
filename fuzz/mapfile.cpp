// mapfile.cpp — fuzz target for the map archive's index and map entries:
// any bytes parse without a fault, and what parses writes back the same.
#include "maps/mapfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  mapfile::Index index;
  if (mapfile::ParseIndex(data, size, index) == mapfile::IndexStatus::Ok) {
    const auto written = mapfile::WriteIndex(index);
    mapfile::Index again;
    if (mapfile::ParseIndex(written.data(), written.size(), again) !=
            mapfile::IndexStatus::Ok ||
        mapfile::WriteIndex(again) != written)
      std::abort();
  }
  mapfile::MapEntry map;
  if (mapfile::ParseMap(data, size, map)) {
    const auto written = mapfile::WriteMap(map);
    mapfile::MapEntry again;
    if (!mapfile::ParseMap(written.data(), written.size(), again) ||
        mapfile::WriteMap(again) != written)
      std::abort();
  }
  return 0;
}
