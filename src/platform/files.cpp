// files.cpp — the program's path, the per-user and home folders, and plain
// file operations: size, delete, read, atomic replace, folder scan.
#include "platform/files.h"
#include "platform/internal.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace plat {

namespace {

std::string WithSlash(std::string s) {
  if (!s.empty() && s.back() != '/')
    s += '/';
  return s;
}

std::string Env(const char *name) {
  const char *v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

bool WriteAll(int fd, const uint8_t *data, size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    data += n;
    size -= size_t(n);
  }
  return true;
}

std::string FolderOf(const std::string &path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Whether a symbolic link may be followed: the player's own, or one only
// the administrator could have made. A link someone else planted in a
// folder others can write to is never followed.
bool LinkTrusted(const struct stat &link) {
  return link.st_uid == geteuid() || link.st_uid == 0;
}

// The path with every trusted symbolic link at its end followed, so that
// writing there replaces what the link names; a link to a missing file
// gives the missing file's path. "" for a link that cannot be read, a loop
// or a link that is not trusted.
std::string FollowLinks(std::string path) {
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
      return path;
    if (!LinkTrusted(st))
      return std::string();
    char buf[PATH_MAX];
    ssize_t n = readlink(path.c_str(), buf, sizeof buf);
    if (n <= 0 || size_t(n) >= sizeof buf)
      return std::string();
    std::string link(buf, size_t(n));
    // A relative link is relative to the folder that holds it.
    path = link[0] == '/' ? link : FolderOf(path) + "/" + link;
  }
  return std::string();
}

// The process's file-creation mask, read without changing it (umask()
// can only be read by setting it, which races with other threads).
mode_t CurrentUmask() {
  if (std::FILE *f = std::fopen("/proc/self/status", "re")) {
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
      unsigned mask = 0;
      if (std::sscanf(line, "Umask: %o", &mask) == 1) {
        std::fclose(f);
        return mode_t(mask & 0777);
      }
    }
    std::fclose(f);
  }
  return 022;
}

// Takes the lock of a file's one temporary name: open (creating it), lock,
// and make sure the name still is this file, not one a finished save has
// renamed into place meanwhile. Another copy of the game saving is waited
// for, briefly. -1 when the lock cannot be had, or when the name is not a
// plain file of its own (a FIFO, a second hard link).
int LockTemporary(const std::string &temp) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    const int fd =
        open(temp.c_str(),
             O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
      return -1;
    struct stat mine, named;
    if (fstat(fd, &mine) != 0 || !S_ISREG(mine.st_mode) || mine.st_nlink > 1) {
      close(fd);
      return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 && lstat(temp.c_str(), &named) == 0 &&
        mine.st_dev == named.st_dev && mine.st_ino == named.st_ino)
      return fd;
    close(fd);
    usleep(10000);
  }
  return -1;
}

} // namespace

std::string ProgramPath() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0)
    return std::string();
  return std::string(buf, size_t(n));
}

std::string ProgramFolder() {
  if (char *base = SDL_GetBasePath()) {
    std::string folder = WithSlash(base);
    SDL_free(base);
    return folder;
  }
  std::string path = ProgramPath();
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (home.empty()) {
    struct passwd pw, *found = nullptr;
    char buf[4096];
    if (getpwuid_r(getuid(), &pw, buf, sizeof buf, &found) == 0 && found &&
        found->pw_dir)
      home = found->pw_dir;
  }
  return home.empty() ? std::string() : WithSlash(home);
}

std::string UserDataFolder(const std::string &sub) {
  // An empty or relative XDG_DATA_HOME is to be ignored, as if unset.
  std::string base = Env("XDG_DATA_HOME");
  if (base.empty() || base[0] != '/') {
    std::string home = HomeFolder();
    if (home.empty())
      return std::string();
    base = home + ".local/share";
  }
  return WithSlash(base) + sub + "/";
}

bool CreateFolder(const std::string &path) {
  if (path.empty())
    return false;
  // Every missing parent too.
  std::string partial;
  size_t pos = 0;
  while (pos != std::string::npos) {
    pos = path.find('/', pos + 1);
    partial = path.substr(0, pos);
    if (partial.empty())
      continue;
    if (mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST)
      return false;
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int64_t FileSize(const std::string &path) {
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0)
    return -1;
  if (S_ISDIR(st.st_mode))
    return -2;
  return int64_t(st.st_size);
}

bool DeleteFile(const std::string &path) {
  // unlink needs no write permission on the file itself.
  return !path.empty() && unlink(path.c_str()) == 0;
}

bool ReadFileChecked(const std::string &path, size_t maxSize,
                     std::vector<uint8_t> &out) {
  out.clear();
  // Without O_NONBLOCK, opening a FIFO waits for a writer that may never
  // come; a regular file reads the same either way.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0)
    return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
      uint64_t(st.st_size) > maxSize) {
    close(fd);
    return false;
  }
  out.reserve(size_t(st.st_size));
  uint8_t buf[65536];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR)
      continue;
    // A file that grows past the limit while being read is refused too.
    if (n < 0 || out.size() + size_t(n) > maxSize) {
      close(fd);
      out.clear();
      return false;
    }
    if (n == 0)
      break;
    out.insert(out.end(), buf, buf + n);
  }
  close(fd);
  return true;
}

bool ReadFile(const std::string &path, std::vector<uint8_t> &out) {
  return ReadFileChecked(path, SIZE_MAX, out);
}

bool UpdateFileAtomic(
    const std::string &path, size_t maxSize,
    const std::function<std::vector<uint8_t>(const std::vector<uint8_t> *)>
        &make) {
  if (path.empty() || path.back() == '/')
    return false;
  // A player's link stays a link: its target is what gets replaced.
  const std::string target = FollowLinks(path);
  if (target.empty())
    return false;
  // One temporary name per file: a save cut short by a kill leaves at
  // most that one file, and the next save takes it over. Its lock keeps a
  // second copy of the game out from the reading of the file to the
  // renaming (a lock dies with its process, so a stale file is free).
  const std::string temp = target + ".new";
  // Only a regular file is replaced, and not one the player made read-only:
  // root may write anything, so the mode bits decide, not access().
  struct stat old;
  auto replaceable = [&] {
    return stat(target.c_str(), &old) != 0 ||
           (S_ISREG(old.st_mode) && (old.st_mode & 0222) != 0);
  };
  if (!replaceable())
    return false;
  const int fd = LockTemporary(temp);
  if (fd < 0)
    return false;
  // Looked at again under the lock: another copy may have saved meanwhile.
  const bool exists = stat(target.c_str(), &old) == 0;
  if (!replaceable()) {
    unlink(temp.c_str());
    close(fd);
    return false;
  }
  std::vector<uint8_t> current;
  const bool readable =
      exists && maxSize > 0 && ReadFileChecked(target, maxSize, current);
  const std::vector<uint8_t> data = make(readable ? &current : nullptr);
  // The new file keeps the old one's permissions, never its set-id or
  // sticky bits; a new one gets the usual ones less the creation mask.
  fchmod(fd, exists ? (old.st_mode & 0777) : (0666 & ~CurrentUmask()));
  const bool ok = ftruncate(fd, 0) == 0 &&
                  WriteAll(fd, data.data(), data.size()) && fsync(fd) == 0;
  if (ok && rename(temp.c_str(), target.c_str()) == 0) {
    close(fd);
    // Make the rename itself durable.
    int dir =
        open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
    return true;
  }
  unlink(temp.c_str());
  close(fd);
  return false;
}

bool WriteFileAtomic(const std::string &path,
                     const std::vector<uint8_t> &data) {
  return UpdateFileAtomic(
      path, 0, [&data](const std::vector<uint8_t> *) { return data; });
}

bool ScanFolder(const std::string &folder, const std::string &pattern,
                std::vector<DirEntry> &out) {
  out.clear();
  DIR *dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir)
    return false;
  const std::string prefix = WithSlash(folder);
  while (struct dirent *e = readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..")
      continue;
    if (fnmatch(pattern.c_str(), name.c_str(), 0) != 0)
      continue;
    bool isFolder = e->d_type == DT_DIR;
    if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
      struct stat st;
      isFolder = stat((prefix + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    out.push_back(DirEntry{name, isFolder});
  }
  closedir(dir);
  return true;
}

} // namespace plat
