// picture_loader.cpp — a small pool of decoding threads with an ordered
// hand-over.
#include "assets/picture_loader.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "assets/pack.h"

namespace {

constexpr size_t kLookahead = 8;

struct Slot {
  bool done = false;
  bool ok = false;
  plat::Picture picture;
};

struct Shared {
  std::mutex mutex;
  std::condition_variable changed;
  std::mutex archiveMutex; // the archive reader is not shared-safe
  std::vector<Slot> slots;
  size_t nextJob = 0;
  size_t consumed = 0; // jobs handed to the caller so far
  bool stop = false;
};

void Worker(Shared &s, pack::Archive &archive,
            const std::vector<PictureJob> &jobs) {
  for (;;) {
    size_t index;
    {
      std::unique_lock<std::mutex> lock(s.mutex);
      s.changed.wait(lock, [&] {
        return s.stop || s.nextJob >= jobs.size() ||
               s.nextJob < s.consumed + kLookahead;
      });
      if (s.stop || s.nextJob >= jobs.size())
        return;
      index = s.nextJob++;
    }
    std::vector<uint8_t> bytes;
    bool ok;
    {
      std::lock_guard<std::mutex> lock(s.archiveMutex);
      ok = pack::ExtractEntry(archive, jobs[index].name, jobs[index].bufferSize,
                              bytes) >= 0;
    }
    plat::Picture pic;
    ok = ok && plat::DecodePng(bytes.data(), bytes.size(), pic);
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      s.slots[index].ok = ok;
      s.slots[index].picture = std::move(pic);
      s.slots[index].done = true;
    }
    s.changed.notify_all();
  }
}

} // namespace

void LoadPictures(pack::Archive &archive, const std::vector<PictureJob> &jobs,
                  const std::function<void(size_t, plat::Picture *)> &consume) {
  Shared s;
  s.slots.resize(jobs.size());
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const unsigned count = std::min<unsigned>(std::min(cores, 4u),
                                            static_cast<unsigned>(jobs.size()));
  std::vector<std::thread> workers;
  for (unsigned i = 0; i < count; ++i)
    workers.emplace_back(Worker, std::ref(s), std::ref(archive),
                         std::cref(jobs));
  auto finish = [&] {
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      s.stop = true;
    }
    s.changed.notify_all();
    for (std::thread &t : workers)
      t.join();
  };
  try {
    for (size_t i = 0; i < jobs.size(); ++i) {
      plat::Picture pic;
      bool ok;
      {
        std::unique_lock<std::mutex> lock(s.mutex);
        s.changed.wait(lock, [&] { return s.slots[i].done; });
        ok = s.slots[i].ok;
        pic = std::move(s.slots[i].picture);
        s.consumed = i + 1;
      }
      s.changed.notify_all();
      if (!ok) {
        finish();
        consume(i, nullptr);
        return;
      }
      consume(i, &pic);
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
}
