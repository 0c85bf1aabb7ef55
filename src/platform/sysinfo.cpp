// sysinfo.cpp — facts about the machine for the run log: processor, cores,
// memory, displays.
#include "platform/display.h"
#include "platform/internal.h"
#include "platform/system.h"

#include <sched.h>
#include <unistd.h>

#include <fstream>

namespace plat {

namespace {

// Linux's number, outside the table of Windows versions (5..200).
constexpr int kLinuxOsNumber = 300;

std::string Trim(const std::string &s) {
  size_t a = s.find_first_not_of(" \t");
  size_t b = s.find_last_not_of(" \t\r\n");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::string CpuName() {
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  while (std::getline(in, line)) {
    size_t colon = line.find(':');
    if (colon != std::string::npos &&
        Trim(line.substr(0, colon)) == "model name") {
      std::string name = Trim(line.substr(colon + 1));
      if (!name.empty())
        return name;
    }
  }
  return "Unknown";
}

// A /proc/meminfo value in bytes (the file gives kB).
uint64_t MemInfo(const std::string &key) {
  std::ifstream in("/proc/meminfo");
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, key.size() + 1, key + ":") == 0)
      return std::stoull(line.substr(key.size() + 1)) * 1024;
  }
  return 0;
}

} // namespace

SystemInfo GetSystemInfo() {
  SystemInfo info;
  info.cpuName = CpuName();
  long total = sysconf(_SC_NPROCESSORS_CONF);
  info.totalCores = total > 0 ? int(total) : 1;
  cpu_set_t set;
  CPU_ZERO(&set);
  info.availableCores = sched_getaffinity(0, sizeof set, &set) == 0
                            ? CPU_COUNT(&set)
                            : info.totalCores;
  try {
    info.totalMemory = MemInfo("MemTotal");
    info.freeMemory = MemInfo("MemAvailable");
  } catch (...) {
    // An unreadable number leaves the figure at 0.
  }
  info.displays = DesktopCount();
  info.osNumber = kLinuxOsNumber;
  return info;
}

} // namespace plat
