// ordered_work.h — work spread over every core whose results are handed
// over one by one, in order, on the calling thread.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Runs make(i) for i in 0..count-1 on worker threads, at most `ahead`
// results ahead of the consumer, and calls consume(i, result) in order on
// this thread. A make that gives no result ends the walk: consume(i,
// nullptr) is then the last call. If consume throws, the workers are
// stopped and joined and the exception goes on.
template <typename T>
void OrderedWork(size_t count, size_t ahead,
                 const std::function<std::optional<T>(size_t)> &make,
                 const std::function<void(size_t, T *)> &consume) {
  struct Slot {
    bool done = false;
    std::optional<T> value;
  };
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<Slot> slots(count);
  size_t next = 0, consumed = 0;
  bool stop = false;

  auto worker = [&] {
    for (;;) {
      size_t i;
      {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] {
          return stop || next >= count || next < consumed + ahead;
        });
        if (stop || next >= count)
          return;
        i = next++;
      }
      std::optional<T> value = make(i);
      {
        std::lock_guard<std::mutex> lock(mutex);
        slots[i].value = std::move(value);
        slots[i].done = true;
      }
      changed.notify_all();
    }
  };
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const size_t threads = std::min<size_t>(std::min(cores, 4u), count);
  std::vector<std::thread> pool;
  for (size_t t = 0; t < threads; ++t)
    pool.emplace_back(worker);
  auto finish = [&] {
    {
      std::lock_guard<std::mutex> lock(mutex);
      stop = true;
    }
    changed.notify_all();
    for (std::thread &t : pool)
      t.join();
    pool.clear();
  };
  try {
    for (size_t i = 0; i < count; ++i) {
      std::optional<T> value;
      {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return slots[i].done; });
        value = std::move(slots[i].value);
        consumed = i + 1;
      }
      changed.notify_all();
      if (!value) {
        finish();
        consume(i, nullptr);
        return;
      }
      consume(i, &*value);
    }
  } catch (...) {
    finish();
    throw;
  }
  finish();
}
