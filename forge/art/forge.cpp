// forge.cpp — runs the jobs on two threads; output never depends on timing.
#include "forge.h"

#include "catalogue.h"
#include "text_art.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <thread>

namespace art {

ForgeResult Forge(const std::string &dir, int threads,
                  const std::string &only) {
  namespace fs = std::filesystem;
  ForgeResult result;
  fs::create_directories(dir);
  CheckFonts();

  std::vector<Job> jobs = Catalogue();
  std::vector<size_t> chosen;
  for (size_t i = 0; i < jobs.size(); ++i)
    if (only.empty() || jobs[i].what.find(only) != std::string::npos)
      chosen.push_back(i);
  std::vector<size_t> order = chosen;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return jobs[a].cost > jobs[b].cost;
  });

  std::vector<Sink> sinks(jobs.size(), Sink{dir, {}});
  std::vector<std::string> failures(jobs.size());
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t k = next++; k < order.size(); k = next++) {
      size_t i = order[k];
      try {
        jobs[i].run(sinks[i]);
      } catch (const std::exception &e) {
        failures[i] = jobs[i].what + ": " + e.what();
      }
    }
  };
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t)
    pool.emplace_back(worker);
  worker();
  for (std::thread &t : pool)
    t.join();

  for (size_t i : chosen) {
    if (!failures[i].empty())
      result.errors.push_back(failures[i]);
    for (const std::string &name : sinks[i].names) {
      uintmax_t size = fs::file_size(fs::path(dir) / name);
      result.entries.push_back({name, size});
      if (size > LimitFor(name))
        result.errors.push_back(name + " is " + std::to_string(size) +
                                " bytes, above its limit of " +
                                std::to_string(LimitFor(name)));
    }
  }
  if (only.empty() && result.errors.empty()) {
    std::ofstream list(fs::path(dir) / "entries.list",
                       std::ios::binary | std::ios::trunc);
    for (const Written &w : result.entries)
      list << w.name << '=' << w.name << '\n';
    if (!list)
      result.errors.push_back("cannot write entries.list");
  }
  return result;
}

} // namespace art
