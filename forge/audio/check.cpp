// check.cpp — forge_audio_check OUT_DIR [PNG_DIR]: decodes every sound the
// forge listed, prints its length, size and levels, checks the limits the
// game relies on, and optionally draws a spectrogram of each for review.
#include "analysis.h"
#include "catalogue.h"
#include "scores.h"
#include "spectrogram.h"
#include "synth.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr size_t kMaxBytes = 15728640; // the game's buffer for one sound

size_t LoopLength(const std::string &file) {
  if (file == "music1.ogg")
    return audio::LoopFrames(audio::MenuSong());
  if (file == "music2.ogg")
    return audio::LoopFrames(audio::LevelSong());
  if (file == "music3.ogg")
    return audio::LoopFrames(audio::FinaleSong());
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: forge_audio_check OUT_DIR [PNG_DIR]\n");
    return 2;
  }
  namespace fs = std::filesystem;
  fs::path dir = argv[1];
  std::string png_dir = argc == 3 ? argv[2] : "";
  if (!png_dir.empty())
    fs::create_directories(png_dir);

  std::ifstream list(dir / "entries.list");
  if (!list) {
    std::fprintf(stderr, "forge_audio_check: no entries.list in %s\n", argv[1]);
    return 1;
  }
  int problems = 0;
  auto problem = [&problems](const std::string &file, const char *what) {
    std::printf("  PROBLEM %s: %s\n", file.c_str(), what);
    ++problems;
  };
  std::printf("%-40s %8s %9s %7s %7s %7s %8s %6s %6s %7s %7s\n", "file",
              "seconds", "bytes", "peak", "rms", "loud", "dc", "seam", "slope",
              "start", "end");
  std::string line;
  while (std::getline(list, line)) {
    std::string file = line.substr(line.find('=') + 1);
    std::vector<uint8_t> bytes;
    audio::Decoded d;
    if (!audio::ReadBytes((dir / file).string(), bytes) ||
        !audio::DecodeOgg(bytes, d)) {
      problem(file, "cannot be read or decoded");
      continue;
    }
    audio::Levels m = audio::Measure(d.pcm);
    double seconds = double(audio::Frames(d.pcm)) / d.rate;
    std::printf(
        "%-40s %8.3f %9zu %7.2f %7.2f %7.2f %8.5f %6.2f %6.2f %7.1f %7.1f\n",
        file.c_str(), seconds, bytes.size(), m.peak_db, m.rms_db, m.loudest_db,
        m.dc, m.seam_jump, m.seam_slope, m.edge_start_db, m.edge_end_db);
    std::printf("  octave bands 31.5 Hz..16 kHz (dB):");
    for (double b : m.bands)
      std::printf(" %5.1f", b);
    std::printf("\n");
    size_t loop = LoopLength(file);
    if (d.rate != audio::kRate || d.channels != 2)
      problem(file, "not 44100 Hz stereo");
    if (bytes.size() > kMaxBytes)
      problem(file, "larger than the game's 15 MiB sound buffer");
    if (m.peak_db > -1.0)
      problem(file, "peak above -1 dBFS");
    if (seconds > 0.5 && m.dc > 0.001)
      problem(file, "DC offset");
    if (loop) {
      if (audio::Frames(d.pcm) != loop)
        problem(file, "decoded length is not the loop length");
      if (seconds < 45 || seconds > 120)
        problem(file, "music not 45 to 120 seconds long");
      if (m.seam_jump > 1.0 || m.seam_slope > 1.0)
        problem(file, "audible seam where the loop joins");
    } else if (m.edge_start_db > -50 || m.edge_end_db > -50) {
      problem(file, "effect does not start and end in silence");
    }
    if (!png_dir.empty()) {
      std::string png =
          (fs::path(png_dir) / (file.substr(0, file.size() - 4) + ".png"))
              .string();
      if (!audio::WriteSpectrogram(d.pcm, png))
        problem(file, "cannot write the spectrogram");
    }
  }
  std::printf("%s\n", problems ? "forge_audio_check: problems found"
                               : "forge_audio_check: all good");
  return problems ? 1 : 0;
}
