// prefetch.cpp — decoding the frames of an animation ahead, on a worker
// thread, a few frames past the one last shown, so that a banner's frame
// is decoded before the frame it is first shown in. Textures are made on
// the main thread when the frame is shown. The pictures decoded ahead count in
// the budget of the sprites decoded on demand: room is made for each
// before it is asked for, and none is asked for without room.
#include "platform/internal.h"
#include "platform/pictures.h"
#include "platform/sprites.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

namespace plat {

using detail::PlatformState;
using detail::Prefetched;
using detail::Sprite;
using detail::State;

namespace {

// Frames decoded ahead of the one last shown, in each sequence: decoding
// one takes less than a frame, and a frame shows for two or three.
constexpr int kAhead = 4;

struct Job {
  size_t sequence = 0;  // where it stands in the sequences
  uint64_t version = 0; // the sprite's, when asked
  uint64_t bytes = 0;   // counted in the budget until taken
  std::vector<uint8_t> png;
  int width = 0, height = 0;
  // Under the mutex:
  bool started = false, done = false, ok = false;
  Prefetched result;
};

struct Worker {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::shared_ptr<Job>> queue;
  bool stop = false;
  bool busy = false; // decoding a job
  std::thread thread;
  // This thread's own:
  std::map<uint64_t, std::shared_ptr<Job>> jobs; // by sprite version
  std::vector<std::shared_ptr<Job>> dropped;     // still decoding
  std::vector<std::vector<int>> sequences;
  std::vector<int> shown; // per sequence, the index last shown
  uint64_t reserved = 0;
  uint64_t waitedMicroseconds = 0;

  ~Worker() { Stop(); }
  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      stop = true;
      queue.clear();
    }
    changed.notify_all();
    if (thread.joinable())
      thread.join();
    stop = false;
    jobs.clear();
    dropped.clear();
    sequences.clear();
    shown.clear();
    reserved = 0;
  }
};

Worker &TheWorker() {
  static Worker w;
  return w;
}

// The picture, as the display will want it.
void Decode(Job &job) {
  Prefetched &out = job.result;
  try {
    job.ok = DecodePng(job.png.data(), job.png.size(), out.pic) &&
             out.pic.width == job.width && out.pic.height == job.height;
  } catch (const std::bad_alloc &) {
    job.ok = false; // a failed allocation is a failed decode
  }
  if (!job.ok)
    out = Prefetched{};
}

void Run(Worker &w) {
  for (;;) {
    std::shared_ptr<Job> job;
    {
      std::unique_lock<std::mutex> lock(w.mutex);
      w.changed.wait(lock, [&] { return w.stop || !w.queue.empty(); });
      if (w.stop)
        return;
      job = w.queue.front();
      w.queue.pop_front();
      job->started = w.busy = true;
    }
    Decode(*job);
    {
      std::lock_guard<std::mutex> lock(w.mutex);
      job->done = true;
      w.busy = false;
    }
    w.changed.notify_all();
  }
}

// Releases the budget of dropped jobs the worker has finished.
void Sweep(Worker &w) {
  std::lock_guard<std::mutex> lock(w.mutex);
  w.dropped.erase(std::remove_if(w.dropped.begin(), w.dropped.end(),
                                 [&](const std::shared_ptr<Job> &j) {
                                   if (!j->done)
                                     return false;
                                   w.reserved -= j->bytes;
                                   return true;
                                 }),
                  w.dropped.end());
}

// Asks for the frames ahead of the last shown in every sequence, in turn,
// while the budget has room for them (never taking `shown`'s).
void Pump(Worker &w, const Sprite *shown) {
  PlatformState &st = State();
  Sweep(w);
  for (int step = 1; step <= kAhead; ++step)
    for (size_t k = 0; k < w.sequences.size(); ++k) {
      const size_t i = size_t(w.shown[k] + step);
      if (i >= w.sequences[k].size())
        continue;
      Sprite *s = st.sprites.Get(w.sequences[k][i]);
      if (!s || s->packed.empty() || s->resident || s->decodeFailed ||
          w.jobs.count(s->version))
        continue;
      auto job = std::make_shared<Job>();
      job->bytes = uint64_t(s->width) * uint64_t(s->height) * 4;
      detail::KeepWithinBudget(shown, job->bytes);
      if (detail::OnDemandBytes() + w.reserved + job->bytes > st.onDemandBudget)
        return; // no room: later, once frames were shown
      job->sequence = k;
      job->version = s->version;
      job->png = s->packed;
      job->width = s->width;
      job->height = s->height;
      w.reserved += job->bytes;
      w.jobs[s->version] = job;
      {
        std::lock_guard<std::mutex> lock(w.mutex);
        w.queue.push_back(job);
        if (!w.thread.joinable())
          w.thread = std::thread(Run, std::ref(w));
      }
      w.changed.notify_all();
    }
}

} // namespace

namespace detail {

bool TakePrefetched(const Sprite &s, Prefetched &out, bool &failed) {
  Worker &w = TheWorker();
  auto found = w.jobs.find(s.version);
  if (found == w.jobs.end())
    return false;
  std::shared_ptr<Job> job = found->second;
  w.jobs.erase(found);
  bool here = false;
  {
    std::unique_lock<std::mutex> lock(w.mutex);
    auto queued = std::find(w.queue.begin(), w.queue.end(), job);
    if (!job->started && !w.busy) {
      // The worker is idle: decoded here, no later than it would be.
      if (queued != w.queue.end())
        w.queue.erase(queued);
      job->started = here = true;
    } else {
      // Being decoded, or next once the worker's current frame is done:
      // waited for, as this pass can show nothing else.
      if (queued != w.queue.end()) {
        w.queue.erase(queued);
        w.queue.push_front(job);
      }
      const auto start = std::chrono::steady_clock::now();
      w.changed.wait(lock, [&] { return job->done; });
      w.waitedMicroseconds +=
          uint64_t(std::chrono::duration_cast<std::chrono::microseconds>(
                       std::chrono::steady_clock::now() - start)
                       .count());
    }
  }
  if (here)
    Decode(*job);
  w.reserved -= job->bytes;
  failed = !job->ok;
  out = std::move(job->result);
  return true;
}

void PrefetchShown(const Sprite &s) {
  Worker &w = TheWorker();
  if (w.sequences.empty())
    return;
  PlatformState &st = State();
  for (size_t k = 0; k < w.sequences.size(); ++k) {
    const std::vector<int> &seq = w.sequences[k];
    const auto at = std::find_if(
        seq.begin(), seq.end(), [&](int n) { return st.sprites.Get(n) == &s; });
    if (at == seq.end())
      continue;
    const int i = int(at - seq.begin());
    w.shown[k] = std::max(w.shown[k], i);
    // This sequence plays: its frames are decoded before the others', and
    // those behind this one are not shown again this time.
    {
      std::lock_guard<std::mutex> lock(w.mutex);
      std::stable_partition(
          w.queue.begin(), w.queue.end(),
          [k](const std::shared_ptr<Job> &j) { return j->sequence == k; });
    }
    for (int j = 0; j < i; ++j)
      if (Sprite *behind = st.sprites.Get(seq[size_t(j)]))
        if (!behind->packed.empty() && behind->resident && behind != &s)
          DropPicture(*behind);
  }
  Pump(w, &s);
}

uint64_t PrefetchReservedBytes() { return TheWorker().reserved; }

uint64_t PrefetchWaitedMicroseconds() { return TheWorker().waitedMicroseconds; }

void StopPrefetch() { TheWorker().Stop(); }

} // namespace detail

void PrefetchSequences(const std::vector<std::vector<int>> &sequences) {
  Worker &w = TheWorker();
  if (!State().display.renderer || !State().shortcuts)
    return;
  w.sequences = sequences;
  w.shown.assign(sequences.size(), -1);
  // Frames of other sequences are no longer wanted ahead.
  std::vector<uint64_t> wanted;
  for (const auto &seq : sequences)
    for (int n : seq)
      if (const Sprite *s = State().sprites.Get(n))
        wanted.push_back(s->version);
  {
    std::lock_guard<std::mutex> lock(w.mutex);
    for (auto it = w.jobs.begin(); it != w.jobs.end();) {
      if (std::find(wanted.begin(), wanted.end(), it->first) != wanted.end()) {
        ++it;
        continue;
      }
      const std::shared_ptr<Job> &job = it->second;
      if (!job->started) {
        auto queued = std::find(w.queue.begin(), w.queue.end(), job);
        if (queued != w.queue.end())
          w.queue.erase(queued);
        w.reserved -= job->bytes;
      } else if (job->done) {
        w.reserved -= job->bytes;
      } else {
        w.dropped.push_back(job);
      }
      it = w.jobs.erase(it);
    }
  }
  Pump(w, nullptr);
}

} // namespace plat
