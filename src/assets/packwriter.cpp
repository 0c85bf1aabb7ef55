// packwriter.cpp — writer of pack archives: packs blocks on every core and
// lays out headers, names and data in entry order.
#include "assets/packwriter.h"

#include "assets/pack.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

namespace pack {

namespace {

void PutLe(std::vector<uint8_t> &out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool ValidOptions(const WriteOptions &opt) {
  return (opt.version == 1 || opt.version == 2) && opt.blockSize >= 1 &&
         opt.blockSize <= kMaxBlockSize;
}

struct BlockJob {
  const uint8_t *data;
  size_t size;
  std::vector<uint8_t> *out;
};

// Packs every job; each lands in its own buffer, so the bytes do not depend
// on which thread took which job.
void RunJobs(std::vector<BlockJob> &jobs, int level, unsigned threads,
             uint64_t totalBytes) {
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t j = next++; j < jobs.size(); j = next++) {
      BlockJob &job = jobs[j];
      *job.out = brieflz::Pack(job.data, job.size, level);
    }
  };
  if (threads == 0)
    threads = std::max(1u, std::thread::hardware_concurrency());
  // Starting threads costs more than packing a few small entries.
  if (totalBytes < (256u << 10))
    threads = 1;
  threads = static_cast<unsigned>(std::min<size_t>(threads, jobs.size()));
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t)
    pool.emplace_back(work);
  work();
  for (std::thread &t : pool)
    t.join();
}

std::vector<uint8_t> StreamHeader(uint64_t size, uint64_t blockSize) {
  std::vector<uint8_t> h(kStreamMagic, kStreamMagic + 4);
  PutLe(h, 0, 4); // never read
  PutLe(h, size, 8);
  PutLe(h, blockSize, 8);
  return h;
}

struct Packed {
  std::vector<std::vector<uint8_t>> blocks;
};

// Queues the blocks of data for packing into p.
void AddJobs(const std::vector<uint8_t> &data, uint64_t blockSize, Packed &p,
             std::vector<BlockJob> &jobs) {
  const size_t count =
      static_cast<size_t>((data.size() + blockSize - 1) / blockSize);
  p.blocks.resize(count);
  for (size_t b = 0; b < count; ++b) {
    const size_t at = static_cast<size_t>(b * blockSize);
    const size_t len =
        static_cast<size_t>(std::min<uint64_t>(blockSize, data.size() - at));
    jobs.push_back({data.data() + at, len, &p.blocks[b]});
  }
}

std::vector<uint8_t> Join(const Packed &p, uint64_t size, uint64_t blockSize) {
  std::vector<uint8_t> stream = StreamHeader(size, blockSize);
  for (const std::vector<uint8_t> &b : p.blocks)
    stream.insert(stream.end(), b.begin(), b.end());
  return stream;
}

} // namespace

std::vector<uint8_t> PackStream(const std::vector<uint8_t> &data,
                                const WriteOptions &opt) {
  if (opt.blockSize == 0 || opt.blockSize > kMaxBlockSize)
    return {};
  Packed p;
  std::vector<BlockJob> jobs;
  AddJobs(data, opt.blockSize, p, jobs);
  RunJobs(jobs, opt.level, opt.threads, data.size());
  return Join(p, data.size(), opt.blockSize);
}

std::vector<uint8_t> BuildArchive(const std::vector<WriteEntry> &entries,
                                  const WriteOptions &opt) {
  if (!ValidOptions(opt))
    return {};
  const uint64_t maxName = opt.version == 1 ? UINT32_MAX : UINT16_MAX;
  for (const WriteEntry &e : entries)
    if (e.name.size() > maxName)
      return {};

  std::vector<Packed> packed(entries.size());
  if (!opt.store) {
    std::vector<BlockJob> jobs;
    uint64_t total = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
      AddJobs(entries[i].data, opt.blockSize, packed[i], jobs);
      total += entries[i].data.size();
    }
    RunJobs(jobs, opt.level, opt.threads, total);
  }

  const uint8_t *magic = opt.version == 1 ? kMagicV1 : kMagicV2;
  std::vector<uint8_t> out(magic, magic + 4);
  for (size_t i = 0; i < entries.size(); ++i) {
    const WriteEntry &e = entries[i];
    const uint64_t full = e.data.size();
    std::vector<uint8_t> stream;
    if (!opt.store && full > 0)
      stream = Join(packed[i], full, opt.blockSize);
    // Packed only when smaller: a stored size equal to the full size is
    // what marks stored data.
    const bool usePacked = !stream.empty() && stream.size() < full;
    const std::vector<uint8_t> &data = usePacked ? stream : e.data;
    PutLe(out, full, 8);
    PutLe(out, data.size(), 8);
    if (opt.version == 1) {
      PutLe(out, e.name.size(), 4);
      PutLe(out, 0, 4); // reserved
    } else {
      PutLe(out, e.name.size(), 2);
    }
    out.insert(out.end(), e.name.begin(), e.name.end());
    out.insert(out.end(), data.begin(), data.end());
  }
  return out;
}

bool WriteArchive(const std::string &path,
                  const std::vector<WriteEntry> &entries,
                  const WriteOptions &opt) {
  const std::vector<uint8_t> bytes = BuildArchive(entries, opt);
  if (bytes.empty())
    return false;
  const std::string temp = path + ".tmp";
  std::FILE *f = std::fopen(temp.c_str(), "wb");
  if (!f)
    return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fflush(f) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

} // namespace pack
