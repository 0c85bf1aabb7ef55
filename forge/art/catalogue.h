// catalogue.h — every picture entry, grouped into jobs for the threads.
#pragma once

#include "canvas.h"

#include <functional>
#include <string>
#include <vector>

namespace art {

// Where a job writes; it records the entry names in catalogue order.
struct Sink {
  std::string dir;
  std::vector<std::string> names;
};

// Encodes and writes `name` into the sink's folder.
void Save(Sink &sink, const std::string &name, const Image &img);

struct Job {
  std::string what;
  double cost; // rough relative run time, for scheduling the big ones first
  std::function<void(Sink &)> run;
};

// In catalogue order; entries.list follows this order.
std::vector<Job> Catalogue();

// Entry size limits of the game's loader.
constexpr size_t kLargeLimit = 4194304; // title pictures and studio logos
constexpr size_t kEntryLimit = 204800;  // everything else
size_t LimitFor(const std::string &name);

} // namespace art
