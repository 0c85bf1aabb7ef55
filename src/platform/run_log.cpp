// run_log.cpp — the run log file.
#include "platform/run_log.h"

bool OpenLog(RunLog &log, const std::string &path, const std::string &first) {
  CloseLog(log);
  log.file.reset(std::fopen(path.c_str(), "wb"));
  if (!log.file)
    return false;
  std::fputs(first.c_str(), log.file.get());
  std::fputs("\r\n", log.file.get());
  if (std::ferror(log.file.get())) {
    log.file.reset();
    return false;
  }
  return true;
}

void EnableLog(RunLog &log) {
  if (log.file)
    log.enabled = true;
}

void WriteLog(RunLog &log, const std::string &text) {
  if (!log.enabled)
    return;
  if (!log.file || std::ferror(log.file.get())) {
    log.enabled = false;
    return;
  }
  std::fwrite(text.data(), 1, text.size(), log.file.get());
  std::fputs("\r\n", log.file.get());
}

void WriteLogValue(RunLog &log, const std::string &key,
                   const std::string &value) {
  WriteLog(log, key + LogIndent(2) + value);
}

void CloseLog(RunLog &log) {
  log.file.reset();
  log.enabled = false;
}

std::string LogIndent(int n) {
  return n < 1 ? std::string() : std::string(n, '\t');
}
