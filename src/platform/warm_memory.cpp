// warm_memory.cpp — memory faulted in ahead by helper threads, off the
// passes that would stall on it.
//
// The heap's growth. Fresh pages cost the thread that first touches them a
// fault each, and on some machines (virtual ones especially) a fault costs
// microseconds: loading touched a hundred megabytes that way. While
// loading, the heap is made to grow by a margin beyond each request, and a
// helper asks the kernel to fault the new pages in, many at a time, as
// soon as the heap's end moves; by the time the game's threads reach them
// they are ready. Afterwards the heap grows by what is asked only (a margin
// would add to the peak) and the helper faults the growth in alongside.
// Asking changes no byte, so the helper never gets in the way of the
// memory's use. Without the kernel's support (before Linux 5.14) nothing
// is faulted ahead and the game runs as before.
//
// A screen's worth, ahead. The map's cache and a dialog's backdrop are
// screen-sized pictures made on a frame's pass; when the memory under them had
// never been touched, the kernel zero-filling it page by page cost that pass
// tens of milliseconds (hundreds at 3840 x 2160). A helper allocates a
// block of that size and touches its pages while the game shows something
// light; just before such a picture is made the block is freed, and the
// picture's allocation takes it from the same heap (one heap for every
// thread, see the allocator settings at start). The reserve is made again
// at the next present.
#include "platform/internal.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <system_error>
#include <thread>

#include <malloc.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace plat::detail {

namespace {

// The heap's end, as the kernel has it.
uintptr_t HeapEnd() { return static_cast<uintptr_t>(syscall(SYS_brk, 0)); }

struct HeapFollower {
  std::thread helper;
  std::atomic<bool> stop{false};
  std::atomic<uint64_t> faulted{0};
  // A program that ends without plat::Shutdown (exit() from a fuzz target)
  // must not be ended instead by a thread left running.
  ~HeapFollower() {
    stop = true;
    if (helper.joinable())
      helper.join();
  }
};

HeapFollower &Follower() {
  static HeapFollower f;
  return f;
}

void Follow(HeapFollower &f) {
  constexpr uintptr_t kStep = uintptr_t(2) << 20;
  uintptr_t done = HeapEnd();
  while (!f.stop) {
    const uintptr_t end = HeapEnd();
    if (end > done) {
      for (; done < end && !f.stop; done += std::min(kStep, end - done))
        if (madvise(reinterpret_cast<void *>(done), std::min(kStep, end - done),
                    MADV_POPULATE_WRITE) == 0)
          f.faulted += std::min(kStep, end - done);
        else if (errno == EINVAL)
          return; // the kernel cannot: nothing to follow with
    } else {
      done = std::min(done, end); // the heap gave memory back
      std::this_thread::sleep_for(std::chrono::milliseconds(4));
    }
  }
}

// The allocators of the pictures round their sizes up a little.
constexpr size_t kSlack = size_t(256) << 10;

struct WarmReserve {
  size_t size = 0;       // wanted; 0 when no screen is open
  void *block = nullptr; // the helper's, until `ready`
  std::atomic<bool> ready{false};
  std::atomic<bool> stop{false};
  std::atomic<bool> refused{false}; // no memory for it: not asked again
  std::thread helper;
  ~WarmReserve() {
    stop = true;
    if (helper.joinable())
      helper.join();
    std::free(block);
  }
};

WarmReserve &Reserve() {
  static WarmReserve r;
  return r;
}

void MakeBlock(WarmReserve &r, size_t size) {
  auto *p = static_cast<volatile uint8_t *>(std::malloc(size));
  if (p) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    for (size_t at = 0; at < size && !r.stop; at += page)
      p[at] = 0;
  }
  r.block = const_cast<uint8_t *>(p);
  r.refused = !p;
  r.ready = true;
}

// Joins a helper that has finished; false while one is still working.
bool HelperIdle(WarmReserve &r) {
  if (!r.helper.joinable())
    return true;
  if (!r.ready)
    return false;
  r.helper.join();
  return true;
}

} // namespace

void FollowHeap(uint64_t margin) {
  HeapFollower &f = Follower();
  mallopt(M_TOP_PAD, static_cast<int>(std::min<uint64_t>(margin, 1u << 30)));
  if (f.helper.joinable())
    return;
  f.stop = false;
  try {
    f.helper = std::thread(Follow, std::ref(f));
  } catch (const std::system_error &) {
    // No helper: pages fault in as they are first touched.
  }
}

void StopFollowingHeap() {
  HeapFollower &f = Follower();
  if (f.helper.joinable()) {
    f.stop = true;
    f.helper.join();
  }
  mallopt(M_TOP_PAD, 0);
}

uint64_t HeapBytesFaultedAhead() { return Follower().faulted; }

void SetWarmReserve(uint64_t bytes) {
  DropWarmReserve();
  Reserve().size = bytes ? static_cast<size_t>(bytes) + kSlack : 0;
  RefillWarmReserve();
}

void RefillWarmReserve() {
  WarmReserve &r = Reserve();
  if (r.size == 0 || !HelperIdle(r) || r.block || r.refused)
    return;
  r.ready = false;
  try {
    r.helper = std::thread(MakeBlock, std::ref(r), r.size);
  } catch (const std::system_error &) {
    r.ready = true; // no helper: pictures fault their memory in themselves
  }
}

void UseWarmReserve(uint64_t bytes) {
  WarmReserve &r = Reserve();
  // Only for a picture of the reserve's order (a card of a quarter screen
  // or more): a small one would take a corner and leave the rest to
  // anything.
  if (!r.ready || !r.block || bytes > r.size || bytes * 4 < r.size ||
      !HelperIdle(r))
    return;
  std::free(r.block);
  r.block = nullptr;
}

void DropWarmReserve() {
  WarmReserve &r = Reserve();
  if (r.helper.joinable()) {
    r.stop = true;
    r.helper.join();
    r.stop = false;
  }
  std::free(r.block);
  r.block = nullptr;
  r.ready = false;
  r.refused = false;
  r.size = 0;
}

uint64_t WarmReserveBytes() {
  WarmReserve &r = Reserve();
  return r.ready && r.block ? r.size : 0;
}

} // namespace plat::detail
