// random.cpp — uniform random integers from our own generator (xoshiro256**
// seeded through splitmix64), the same sequence on every system for a seed.
#include "platform/random.h"
#include "platform/clock.h"
#include "platform/internal.h"

#include <functional>
#include <thread>

namespace plat {

namespace {

uint64_t SplitMix(uint64_t &x) {
  uint64_t z = (x += 0x9e3779b97f4a7c15ull);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

detail::RandomState &Rng() {
  detail::RandomState &r = detail::State().random;
  if (!r.seeded) {
    uint64_t thread = std::hash<std::thread::id>()(std::this_thread::get_id());
    SeedRandom(thread ^ (TicksMs() * 0x9e3779b97f4a7c15ull));
  }
  return r;
}

uint64_t Next() {
  uint64_t *s = Rng().s;
  const uint64_t result = Rotl(s[1] * 5, 7) * 9;
  const uint64_t t = s[1] << 17;
  s[2] ^= s[0];
  s[3] ^= s[1];
  s[1] ^= s[2];
  s[0] ^= s[3];
  s[2] ^= t;
  s[3] = Rotl(s[3], 45);
  return result;
}

// Uniform in 0..span-1 without modulo bias: values from the short last
// stretch of the 64-bit range are drawn again.
uint64_t Below(uint64_t span) {
  const uint64_t limit = (0 - span) % span; // 2^64 mod span
  for (;;) {
    uint64_t v = Next();
    if (v >= limit)
      return v % span;
  }
}

} // namespace

void SeedRandom(uint64_t seed) {
  detail::RandomState &r = detail::State().random;
  r.seed = seed;
  r.seeded = true;
  uint64_t x = seed;
  for (uint64_t &word : r.s)
    word = SplitMix(x);
}

uint64_t RandomSeedInUse() { return Rng().seed; }

int Random(int max) { return RandomRange(0, max); }

int RandomRange(int min, int max) {
  if (min > max)
    std::swap(min, max);
  const uint64_t span = uint64_t(int64_t(max) - int64_t(min)) + 1;
  return int(int64_t(min) + int64_t(Below(span)));
}

} // namespace plat
