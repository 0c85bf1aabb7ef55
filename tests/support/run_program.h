// run_program.h — runs the game binary as a child process with its own
// environment, for tests of the whole program.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "support/temp_dir.h"

extern char **environ;

struct ProgramResult {
  int status = -1;  // exit status, or -1 when it did not exit normally
  std::string err;  // what it wrote to standard error
  long peakKiB = 0; // the largest resident size of it or a descendant
};

// Runs path with args; env entries replace or add to this process's
// environment (an empty value removes the variable). Standard output goes
// to outFile.
inline ProgramResult RunProgram(const std::string &path,
                                const std::vector<std::string> &args,
                                const std::map<std::string, std::string> &env,
                                const std::string &errFile,
                                const std::string &outFile = "/dev/null") {
  std::map<std::string, std::string> all;
  for (char **e = environ; *e != nullptr; ++e) {
    std::string kv = *e;
    const size_t eq = kv.find('=');
    if (eq != std::string::npos)
      all[kv.substr(0, eq)] = kv.substr(eq + 1);
  }
  for (const auto &[k, v] : env) {
    if (v.empty())
      all.erase(k);
    else
      all[k] = v;
  }
  std::vector<std::string> envStrings;
  for (const auto &[k, v] : all)
    envStrings.push_back(k + "=" + v);
  std::vector<char *> envp, argv;
  for (std::string &s : envStrings)
    envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> argStrings = {path};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  for (std::string &s : argStrings)
    argv.push_back(s.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  ProgramResult r;
  if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(),
                  envp.data()) == 0) {
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    if (WIFEXITED(status))
      r.status = WEXITSTATUS(status);
    r.peakKiB = usage.ru_maxrss;
  }
  posix_spawn_file_actions_destroy(&actions);
  r.err = ReadText(errFile);
  return r;
}
