// main.cpp — the sound forge: renders the music and sound effects, encodes
// them as Ogg Vorbis into OUT_DIR and lists them in OUT_DIR/entries.list.
#include "catalogue.h"
#include "effects.h"
#include "ogg_writer.h"
#include "synth.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Result {
  std::vector<uint8_t> bytes;
  size_t frames = 0;
  double peak_db = 0;
  double rms_db = 0;
  double seconds = 0; // time taken
  std::string error;
};

void Forge(const audio::SoundEntry &entry, Result &out) {
  auto begin = std::chrono::steady_clock::now();
  try {
    audio::Stereo pcm = entry.make();
    out.frames = audio::Frames(pcm);
    out.peak_db = audio::PeakDb(pcm);
    out.rms_db = audio::RmsDb(pcm);
    out.bytes =
        audio::EncodeOgg(pcm, audio::kQuality, entry.serial, entry.file);
  } catch (const std::exception &e) {
    out.error = e.what();
  }
  out.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin)
          .count();
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: forge_audio OUT_DIR\n");
    return 2;
  }
  namespace fs = std::filesystem;
  fs::path dir = argv[1];
  std::error_code ec;
  fs::create_directories(dir, ec);
  auto begin = std::chrono::steady_clock::now();

  // Each sound is made on its own, so two workers give the same bytes as one.
  const auto &entries = audio::Catalogue();
  std::vector<Result> results(entries.size());
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t i = next++; i < entries.size(); i = next++)
      Forge(entries[i], results[i]);
  };
  std::thread helper(worker);
  worker();
  helper.join();

  int failures = 0;
  std::string list;
  for (size_t i = 0; i < entries.size(); ++i) {
    const Result &r = results[i];
    if (!r.error.empty()) {
      std::fprintf(stderr, "forge_audio: %s: %s\n", entries[i].file,
                   r.error.c_str());
      ++failures;
      continue;
    }
    if (!audio::WriteFile((dir / entries[i].file).string(), r.bytes)) {
      std::fprintf(stderr, "forge_audio: cannot write %s\n", entries[i].file);
      ++failures;
      continue;
    }
    list += std::string(entries[i].file) + "=" + entries[i].file + "\n";
    std::printf(
        "%-40s %7.2f s %9zu bytes  peak %6.2f dBFS  rms %6.2f dBFS  %.2f s\n",
        entries[i].file, double(r.frames) / audio::kRate, r.bytes.size(),
        r.peak_db, r.rms_db, r.seconds);
  }
  if (failures)
    return 1;
  // The list is written last, so its presence means every sound is there.
  if (!audio::WriteFile((dir / "entries.list").string(),
                        std::vector<uint8_t>(list.begin(), list.end()))) {
    std::fprintf(stderr, "forge_audio: cannot write entries.list\n");
    return 1;
  }
  double took =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin)
          .count();
  std::printf("forge_audio: %zu sounds in %.2f s\n", entries.size(), took);
  return 0;
}
