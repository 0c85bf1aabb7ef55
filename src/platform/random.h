// random.h — the game's random numbers: one generator, seeded once.
#pragma once

#include <cstdint>

namespace plat {

// Seeded once at first use from the thread identity and the millisecond
// ticks, or from WARRENFOLD_SEED, or by SeedRandom.
void SeedRandom(uint64_t seed);
uint64_t RandomSeedInUse();        // seeds the generator first if needed
int Random(int max);               // uniform 0..max
int RandomRange(int min, int max); // uniform min..max, both included

} // namespace plat
