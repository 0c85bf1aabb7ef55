// run_log.cpp — the run log file.
#include "platform/run_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The log's name is predictable: a link planted there is not followed and
// a FIFO is not waited on; only a regular file is written (and truncated).
std::FILE *CreateLogFile(const std::string &path) {
  const int fd =
      open(path.c_str(),
           O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0)
    return nullptr;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ftruncate(fd, 0) != 0) {
    close(fd);
    return nullptr;
  }
  std::FILE *f = fdopen(fd, "wb");
  if (!f)
    close(fd);
  return f;
}

} // namespace

bool OpenLog(RunLog &log, const std::string &path, const std::string &first) {
  CloseLog(log);
  log.file.reset(CreateLogFile(path));
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
