// system.h — facts about the machine and the user for the run log, and
// the message box.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

struct SystemInfo {
  std::string cpuName;
  int totalCores = 0;
  int availableCores = 0;
  uint64_t totalMemory = 0;
  uint64_t freeMemory = 0;
  int displays = 0;
  int osNumber = 0;
};
SystemInfo GetSystemInfo();

// The user's locale as language_COUNTRY ("de_DE"); "en_GB" when none.
std::string SystemLocaleName();

// Modal box with one OK button; on a headless driver, or where no box can
// be shown, the title and text go to standard error.
void MessageBox(const std::string &title, const std::string &text);

} // namespace plat
