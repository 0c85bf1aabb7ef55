// env_guard.h — environment variables changed for one test and put back as
// they were afterwards.
#pragma once

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

struct EnvGuard {
  std::map<std::string, std::optional<std::string>> before;
  // value nullptr removes the variable.
  void Set(const char *name, const char *value) {
    if (!before.count(name)) {
      const char *v = std::getenv(name);
      before[name] = v ? std::optional<std::string>(v) : std::nullopt;
    }
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~EnvGuard() {
    for (const auto &[name, value] : before)
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
  }
};
