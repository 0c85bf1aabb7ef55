// numbered.h — a table of objects named by small integers, with the
// any-number marker handing out free numbers from kFirstFreeNumber upward.
#pragma once

#include "platform/core.h"

#include <memory>
#include <vector>

namespace plat::detail {

// Numbers above this are refused, so that a stray large number cannot make
// the table allocate gigabytes.
constexpr int kMaxNumber = 1 << 20;

template <typename T> struct NumberTable {
  std::vector<std::unique_ptr<T>> slots;

  T *Get(int number) const {
    if (number < 0 || number >= static_cast<int>(slots.size()))
      return nullptr;
    return slots[number].get();
  }

  // The number a new object should take: `wanted` itself, or the lowest
  // free number from kFirstFreeNumber for kAnyNumber; -1 when invalid.
  int Choose(int wanted) const {
    if (wanted == kAnyNumber) {
      int n = kFirstFreeNumber;
      while (n < static_cast<int>(slots.size()) && slots[n])
        ++n;
      return n <= kMaxNumber ? n : -1;
    }
    if (wanted < 0 || wanted > kMaxNumber)
      return -1;
    return wanted;
  }

  void Put(int number, std::unique_ptr<T> object) {
    if (number >= static_cast<int>(slots.size()))
      slots.resize(number + 1);
    slots[number] = std::move(object);
  }

  void Free(int number) {
    if (number >= 0 && number < static_cast<int>(slots.size()))
      slots[number].reset();
  }

  void Clear() {
    // Destroy in place first: destructors may look at the table.
    for (auto &slot : slots)
      slot.reset();
    slots.clear();
  }
};

} // namespace plat::detail
