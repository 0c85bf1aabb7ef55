// brieflz.cpp — benchmarks of the BriefLZ unpacker (MB/s on text-like data
// and on the game's archive) and of the packer's speed and ratio per level.
#include "assets/brieflz.h"
#include "assets/pack.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kBlock = 1 << 20;
constexpr size_t kSampleSize = 4 << 20;

void Append(Bytes &out, const std::filesystem::path &p, size_t limit) {
  std::ifstream f(p, std::ios::binary);
  Bytes b{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
  b.resize(std::min(b.size(), limit - out.size()));
  out.insert(out.end(), b.begin(), b.end());
}

// Files under root with the extension, in name order, up to limit bytes.
Bytes ReadTree(const std::string &root, const std::string &ext, size_t limit) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(
           root, std::filesystem::directory_options::skip_permission_denied,
           ec);
       !ec && it != std::filesystem::recursive_directory_iterator();
       it.increment(ec))
    if (it->is_regular_file(ec) && it->path().extension() == ext)
      files.push_back(it->path());
  std::sort(files.begin(), files.end());
  Bytes out;
  for (const auto &f : files) {
    if (out.size() >= limit)
      break;
    Append(out, f, limit);
  }
  return out;
}

// English-like prose from a small vocabulary with skewed word frequencies.
Bytes SynthText(size_t n) {
  static const char *const kWords[] = {
      "the",     "of",      "and",    "to",      "a",       "in",     "that",
      "it",      "was",     "he",     "for",     "with",    "as",     "his",
      "on",      "be",      "at",     "by",      "had",     "not",    "are",
      "but",     "from",    "or",     "have",    "an",      "they",   "which",
      "one",     "you",     "were",   "her",     "all",     "she",    "there",
      "would",   "their",   "we",     "him",     "been",    "has",    "when",
      "who",     "will",    "more",   "no",      "if",      "out",    "so",
      "said",    "what",    "up",     "its",     "about",   "into",   "than",
      "them",    "can",     "only",   "other",   "new",     "some",   "could",
      "time",    "these",   "two",    "may",     "then",    "do",     "first",
      "any",     "my",      "now",    "such",    "like",    "our",    "over",
      "man",     "me",      "even",   "most",    "made",    "after",  "also",
      "did",     "many",    "before", "must",    "through", "back",   "years",
      "where",   "much",    "your",   "way",     "well",    "down",   "should",
      "because", "each",    "just",   "those",   "people",  "house",  "garden",
      "winter",  "morning", "river",  "evening", "window",  "letter", "friend"};
  constexpr size_t kCount = sizeof(kWords) / sizeof(kWords[0]);
  // Each word is mostly followed by one of a few fixed successors, so
  // phrases recur as they do in prose.
  std::mt19937 g(2024);
  std::vector<std::array<size_t, 4>> next(kCount);
  for (auto &choices : next)
    for (size_t &c : choices)
      c = g() % kCount;
  std::geometric_distribution<size_t> pick(0.04);
  Bytes out;
  size_t word = 0, sentence = 0;
  while (out.size() < n) {
    const unsigned r = g() % 8;
    word = r < 6 ? next[word][r % 4] : pick(g) % kCount;
    std::string w = kWords[word];
    if (sentence == 0)
      w[0] = static_cast<char>(w[0] - 'a' + 'A');
    out.insert(out.end(), w.begin(), w.end());
    if (++sentence > 6 + g() % 14) {
      out.push_back('.');
      sentence = 0;
    } else if (g() % 11 == 0) {
      out.push_back(',');
    }
    out.push_back(g() % 13 == 0 ? '\n' : ' ');
  }
  out.resize(n);
  return out;
}

struct Sample {
  std::string name;
  Bytes data;
};

const std::vector<Sample> &Samples() {
  static const std::vector<Sample> samples = [] {
    std::vector<Sample> s;
    s.push_back({"c_headers", ReadTree("/usr/include", ".h", kSampleSize)});
    s.push_back({"synthetic_text", SynthText(kSampleSize)});
    // Real English where the system has some: licences and manuals.
    Bytes english = ReadTree("/usr/share/common-licenses", "", kSampleSize);
    Bytes pods = ReadTree("/usr/share/perl", ".pod", kSampleSize);
    english.insert(english.end(), pods.begin(), pods.end());
    Bytes docs = ReadTree("/usr/share/vim", ".txt", kSampleSize);
    english.insert(english.end(), docs.begin(), docs.end());
    english.resize(std::min(english.size(), kSampleSize));
    s.push_back({"english", english});
    // The mix the ratio goal speaks of: half text, half headers.
    Bytes mix(english.begin(), english.begin() + english.size() / 2);
    mix.insert(mix.end(), s[0].data.begin(),
               s[0].data.begin() + s[0].data.size() / 2);
    s.push_back({"text_and_headers", mix});
    s.erase(
        std::remove_if(s.begin(), s.end(),
                       [](const Sample &x) { return x.data.size() < 4096; }),
        s.end());
    return s;
  }();
  return samples;
}

std::vector<Bytes> PackBlocks(const Bytes &data, int level) {
  std::vector<Bytes> blocks;
  for (size_t at = 0; at < data.size(); at += kBlock)
    blocks.push_back(brieflz::Pack(data.data() + at,
                                   std::min(kBlock, data.size() - at), level));
  return blocks;
}

void Unpack(benchmark::State &state, const Sample &s) {
  const std::vector<Bytes> blocks = PackBlocks(s.data, brieflz::kLevelBest);
  Bytes out(s.data.size());
  for (auto _ : state) {
    size_t at = 0;
    for (const Bytes &b : blocks) {
      const size_t n = std::min(kBlock, s.data.size() - at);
      size_t used = 0;
      if (!brieflz::Unpack(b.data(), b.size(), out.data() + at, n, used)) {
        state.SkipWithError("unpack failed");
        return;
      }
      at += n;
    }
    benchmark::DoNotOptimize(out.data());
  }
  if (out != s.data)
    state.SkipWithError("round trip differs");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(s.data.size()));
}

void Pack(benchmark::State &state, const Sample &s, int level) {
  size_t packed = 0;
  for (auto _ : state) {
    packed = 0;
    for (const Bytes &b : PackBlocks(s.data, level))
      packed += b.size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(s.data.size()));
  state.counters["ratio"] =
      static_cast<double>(packed) / static_cast<double>(s.data.size());
  state.counters["input_MB"] = static_cast<double>(s.data.size()) / 1e6;
}

// Every packed entry of the game's data archive, extracted as the game does.
void UnpackGameData(benchmark::State &state) {
  pack::Archive a;
  if (!pack::Open(a, std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.data")) {
    state.SkipWithError("no Warrenfold.data in the game folder");
    return;
  }
  std::vector<std::string> names;
  int64_t bytes = 0;
  for (const pack::EntryInfo &e : pack::Entries(a))
    if (e.storedSize != e.fullSize) {
      names.push_back(e.name);
      bytes += static_cast<int64_t>(e.fullSize);
    }
  Bytes out;
  for (auto _ : state)
    for (const std::string &n : names)
      if (pack::ExtractEntry(a, n, 20 << 20, out) < 0) {
        state.SkipWithError("extraction failed");
        return;
      }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
  state.counters["packed_entries"] = static_cast<double>(names.size());
}

const bool kRegistered = [] {
  for (const Sample &s : Samples()) {
    benchmark::RegisterBenchmark(("Unpack/" + s.name).c_str(), Unpack, s)
        ->Unit(benchmark::kMillisecond);
    const std::pair<const char *, int> levels[] = {
        {"fast", brieflz::kLevelFast},
        {"normal", brieflz::kLevelNormal},
        {"best", brieflz::kLevelBest}};
    for (const auto &[label, level] : levels)
      benchmark::RegisterBenchmark(("Pack/" + s.name + "/" + label).c_str(),
                                   Pack, s, level)
          ->Unit(benchmark::kMillisecond)
          ->Iterations(1);
  }
  benchmark::RegisterBenchmark("UnpackGameData", UnpackGameData)
      ->Unit(benchmark::kMillisecond);
  return true;
}();

} // namespace

BENCHMARK_MAIN();
