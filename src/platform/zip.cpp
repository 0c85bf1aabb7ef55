// zip.cpp — ZIP archives read with libarchive into memory: the list of
// entries and one entry's bytes by exact name. Entry names are only ever
// compared, never used as paths.
#include "platform/zip.h"
#include "platform/internal.h"

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>

namespace plat {

namespace {

struct ArchiveDeleter {
  void operator()(archive *a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveDeleter>;

void ReportArchiveFailure(const char *what, archive *a) {
  const char *reason = archive_error_string(a);
  detail::ReportFailure(what, reason ? reason : "unknown error");
}

// The archive opened for reading, or null. A missing file is the caller's
// ordinary answer, not a failure worth a line on standard error.
ArchivePtr OpenZip(const std::string &path) {
  ArchivePtr a(archive_read_new());
  if (!a) {
    detail::ReportFailure("archive_read_new", "out of memory");
    return nullptr;
  }
  // The seekable reader trusts the central directory, so sizes are known
  // before the data is read.
  archive_read_support_format_zip_seekable(a.get());
  if (archive_read_open_filename(a.get(), path.c_str(), 65536) != ARCHIVE_OK) {
    if (archive_errno(a.get()) != ENOENT)
      ReportArchiveFailure("archive_read_open_filename", a.get());
    return nullptr;
  }
  return a;
}

// ARCHIVE_WARN (an odd but readable entry) counts as success.
bool Ok(int r) { return r == ARCHIVE_OK || r == ARCHIVE_WARN; }

std::string NameOf(archive_entry *e) {
  const char *name = archive_entry_pathname_utf8(e);
  if (!name)
    name = archive_entry_pathname(e);
  return name ? std::string(name) : std::string();
}

} // namespace

bool ZipList(const std::string &path, std::vector<ZipEntry> &out) {
  out.clear();
  ArchivePtr a = OpenZip(path);
  if (!a)
    return false;
  archive_entry *e = nullptr;
  for (;;) {
    int res = archive_read_next_header(a.get(), &e);
    if (res == ARCHIVE_EOF)
      return true;
    if (!Ok(res)) {
      ReportArchiveFailure("archive_read_next_header", a.get());
      out.clear();
      return false;
    }
    ZipEntry z;
    z.name = NameOf(e);
    z.file = archive_entry_filetype(e) == AE_IFREG;
    z.size = archive_entry_size_is_set(e) ? int64_t(archive_entry_size(e)) : 0;
    out.push_back(std::move(z));
  }
}

namespace {

// Reads the data of the entry just walked to; false on damage or when it
// is larger than maxSize (a declared size over the limit is refused before
// anything is allocated; without one, reading stops at the limit).
bool ReadEntryData(archive *a, archive_entry *e, size_t maxSize,
                   std::vector<uint8_t> &out) {
  out.clear();
  if (archive_entry_size_is_set(e)) {
    la_int64_t size = archive_entry_size(e);
    if (size < 0 || uint64_t(size) > maxSize)
      return false;
    out.reserve(size_t(size));
  }
  uint8_t buf[65536];
  for (;;) {
    la_ssize_t n = archive_read_data(a, buf, sizeof buf);
    if (n == 0)
      return true;
    if (n < 0 && n != ARCHIVE_WARN) {
      ReportArchiveFailure("archive_read_data", a);
      out.clear();
      return false;
    }
    if (n < 0)
      continue;
    if (out.size() + size_t(n) > maxSize) {
      out.clear();
      return false;
    }
    out.insert(out.end(), buf, buf + n);
  }
}

} // namespace

bool ZipExtract(const std::string &path, const std::string &name,
                size_t maxSize, std::vector<uint8_t> &out) {
  out.clear();
  ArchivePtr a = OpenZip(path);
  if (!a)
    return false;
  archive_entry *e = nullptr;
  for (;;) {
    int res = archive_read_next_header(a.get(), &e);
    if (res == ARCHIVE_EOF)
      return false; // no such entry
    if (!Ok(res)) {
      ReportArchiveFailure("archive_read_next_header", a.get());
      return false; // damage before the entry
    }
    if (NameOf(e) != name)
      continue;
    if (archive_entry_filetype(e) != AE_IFREG)
      return false;
    return ReadEntryData(a.get(), e, maxSize, out);
  }
}

bool ZipReadMatching(const std::string &path,
                     const std::function<bool(const std::string &)> &want,
                     size_t maxSize, std::vector<ZipFile> &out) {
  out.clear();
  ArchivePtr a = OpenZip(path);
  if (!a)
    return false;
  archive_entry *e = nullptr;
  for (size_t walked = 0;; ++walked) {
    int res = archive_read_next_header(a.get(), &e);
    if (res == ARCHIVE_EOF)
      return true;
    if (!Ok(res)) {
      ReportArchiveFailure("archive_read_next_header", a.get());
      out.clear();
      return false;
    }
    // Entries past the limit are not looked at: a language archive has a
    // few dozen, and walking millions would stall the start.
    if (walked >= kMaxZipEntries)
      return true;
    ZipFile f;
    f.name = NameOf(e);
    if (archive_entry_filetype(e) != AE_IFREG || !want(f.name))
      continue;
    // An entry too large or damaged is left out like one not wanted.
    if (ReadEntryData(a.get(), e, maxSize, f.data))
      out.push_back(std::move(f));
  }
}

} // namespace plat
