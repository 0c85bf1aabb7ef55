// run_log.h — the run log: one event per line, UTF-8, CR LF, written only
// when the game was started with "/LOG". It sits at the bottom so that
// every module can write its own lines.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

struct FileCloser {
  void operator()(std::FILE *f) const { std::fclose(f); }
};

struct RunLog {
  std::unique_ptr<std::FILE, FileCloser> file;
  bool enabled = false;
};

// Creates (or truncates) the file and writes the first line. False, with no
// file left open, when it cannot be created.
bool OpenLog(RunLog &log, const std::string &path, const std::string &first);
// Turns logging on when a file is open.
void EnableLog(RunLog &log);
// One line; silent while logging is off. A file that stopped being valid
// turns logging off for the rest of the run.
void WriteLog(RunLog &log, const std::string &text);
// Key, two tabs, value: the log's line convention.
void WriteLogValue(RunLog &log, const std::string &key,
                   const std::string &value);
void CloseLog(RunLog &log);
// n tab characters (none for n below 1).
std::string LogIndent(int n);
