// log.cpp — the run log file.
#include "shell/log.h"

bool OpenLog(RunLog &log, const std::string &path, const std::string &first) {
  CloseLog(log);
  log.file = std::fopen(path.c_str(), "wb");
  if (log.file == nullptr)
    return false;
  std::fputs(first.c_str(), log.file);
  std::fputs("\r\n", log.file);
  if (std::ferror(log.file)) {
    std::fclose(log.file);
    log.file = nullptr;
    return false;
  }
  return true;
}

void EnableLog(RunLog &log) {
  if (log.file != nullptr)
    log.enabled = true;
}

void WriteLog(RunLog &log, const std::string &text) {
  if (!log.enabled)
    return;
  if (log.file == nullptr || std::ferror(log.file)) {
    log.enabled = false;
    return;
  }
  std::fwrite(text.data(), 1, text.size(), log.file);
  std::fputs("\r\n", log.file);
}

void WriteLogValue(RunLog &log, const std::string &key,
                   const std::string &value) {
  WriteLog(log, key + LogIndent(2) + value);
}

void CloseLog(RunLog &log) {
  if (log.file != nullptr)
    std::fclose(log.file);
  log.file = nullptr;
  log.enabled = false;
}

std::string LogIndent(int n) {
  return n < 1 ? std::string() : std::string(n, '\t');
}
