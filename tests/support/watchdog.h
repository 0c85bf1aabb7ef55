// watchdog.h — ends the test program with SIGALRM when a call that should
// return at once blocks instead (opening a FIFO), so that the run fails
// rather than hangs.
#pragma once

#include <unistd.h>

struct Watchdog {
  explicit Watchdog(unsigned seconds = 30) { alarm(seconds); }
  ~Watchdog() { alarm(0); }
  Watchdog(const Watchdog &) = delete;
  Watchdog &operator=(const Watchdog &) = delete;
};
