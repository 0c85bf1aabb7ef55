// clock.h — the date, the millisecond ticks and sleeping.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace plat {

time_t Now();
// "%yyyy", "%mm", "%dd", "%hh", "%ii", "%ss": local year, month, day, hour
// (24 h), minute, second with leading zeros; other text is copied.
std::string FormatDate(time_t t, const std::string &mask);
uint64_t TicksMs();

void Sleep(int ms);

} // namespace plat
