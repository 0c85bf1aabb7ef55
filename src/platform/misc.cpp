// misc.cpp — the user's locale name, local dates, ticks, sleeping and the
// message box.
#include "platform/clock.h"
#include "platform/core.h"
#include "platform/internal.h"
#include "platform/system.h"

#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace plat {

std::string SystemLocaleName() {
  const char *value = nullptr;
  for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char *v = std::getenv(name);
    if (v && *v) {
      value = v;
      break;
    }
  }
  std::string locale = value ? value : "";
  // "de_DE.UTF-8" and "de_DE@euro" name "de_DE".
  size_t cut = locale.find_first_of(".@");
  if (cut != std::string::npos)
    locale.resize(cut);
  if (locale.empty() || locale == "C" || locale == "POSIX")
    return "en_GB";
  for (char &c : locale)
    if (c == '-')
      c = '_';
  if (locale.size() > 256)
    locale.resize(256);
  return locale;
}

time_t Now() { return time(nullptr); }

std::string FormatDate(time_t t, const std::string &mask) {
  struct tm tm {};
  if (!localtime_r(&t, &tm))
    return mask;
  struct Field {
    const char *token;
    int value;
    int digits;
  };
  const Field fields[] = {
      {"%yyyy", tm.tm_year + 1900, 4}, {"%mm", tm.tm_mon + 1, 2},
      {"%dd", tm.tm_mday, 2},          {"%hh", tm.tm_hour, 2},
      {"%ii", tm.tm_min, 2},           {"%ss", tm.tm_sec, 2},
  };
  std::string out;
  for (size_t i = 0; i < mask.size();) {
    bool matched = false;
    if (mask[i] == '%') {
      for (const Field &f : fields) {
        size_t len = std::strlen(f.token);
        if (mask.compare(i, len, f.token) == 0) {
          char buf[16];
          std::snprintf(buf, sizeof buf, "%0*d", f.digits, f.value);
          out += buf;
          i += len;
          matched = true;
          break;
        }
      }
    }
    if (!matched)
      out += mask[i++];
  }
  return out;
}

uint64_t TicksMs() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint64_t(ts.tv_sec) * 1000 + uint64_t(ts.tv_nsec) / 1000000;
}

void Sleep(int ms) {
  if (ms <= 0)
    return;
  struct timespec ts {
    ms / 1000, long(ms % 1000) * 1000000
  };
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

void MessageBox(const std::string &title, const std::string &text) {
  // SDL's box blocks even with the dummy driver on an X display, and no
  // one would see it: headless, the message goes to standard error.
  bool shown = false;
  if (!HeadlessVideo() && detail::State().videoUp)
    shown = SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(),
                                     text.c_str(),
                                     detail::State().display.window.get()) == 0;
  if (!shown)
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}

} // namespace plat
