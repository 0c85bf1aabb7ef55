// zip.cpp — ZIP archives read with libarchive into memory: the list of
// entries and one entry's bytes by exact name. Entry names are only ever
// compared, never used as paths.
#include "platform/internal.h"

#include <archive.h>
#include <archive_entry.h>

namespace plat {

namespace {

struct Reader {
  archive *a = nullptr;
  explicit Reader(const std::string &path) {
    a = archive_read_new();
    // The seekable reader trusts the central directory, so sizes are known
    // before the data is read.
    archive_read_support_format_zip_seekable(a);
    if (archive_read_open_filename(a, path.c_str(), 65536) != ARCHIVE_OK) {
      archive_read_free(a);
      a = nullptr;
    }
  }
  ~Reader() {
    if (a)
      archive_read_free(a);
  }
  Reader(const Reader &) = delete;
  Reader &operator=(const Reader &) = delete;
};

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
  Reader r(path);
  if (!r.a)
    return false;
  archive_entry *e = nullptr;
  for (;;) {
    int res = archive_read_next_header(r.a, &e);
    if (res == ARCHIVE_EOF)
      return true;
    if (!Ok(res)) {
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

bool ZipExtract(const std::string &path, const std::string &name,
                size_t maxSize, std::vector<uint8_t> &out) {
  out.clear();
  Reader r(path);
  if (!r.a)
    return false;
  archive_entry *e = nullptr;
  for (;;) {
    int res = archive_read_next_header(r.a, &e);
    if (!Ok(res))
      return false; // end of the archive, or damage before the entry
    if (NameOf(e) != name)
      continue;
    if (archive_entry_filetype(e) != AE_IFREG)
      return false;
    // A declared size over the limit is refused before anything is
    // allocated; without one, reading stops at the limit.
    if (archive_entry_size_is_set(e)) {
      la_int64_t size = archive_entry_size(e);
      if (size < 0 || uint64_t(size) > maxSize)
        return false;
      out.reserve(size_t(size));
    }
    uint8_t buf[65536];
    for (;;) {
      la_ssize_t n = archive_read_data(r.a, buf, sizeof buf);
      if (n == 0)
        return true;
      if (n < 0 && n != ARCHIVE_WARN) {
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
}

} // namespace plat
