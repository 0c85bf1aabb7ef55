// zipwrite.cpp — deterministic ZIP writing through libarchive.
#include "zipwrite.h"

#include <archive.h>
#include <archive_entry.h>

#include <cstdlib>
#include <ctime>

namespace forge {

namespace {

// 2021-01-01 00:00:00 UTC: any fixed moment will do, as long as it never
// changes between runs.
constexpr time_t kFixedTime = 1609459200;

// The ZIP header keeps local (DOS) time, which libarchive derives through
// the time zone: pin it, or the bytes would depend on where we build.
void PinTimeZone() {
  setenv("TZ", "UTC0", 1);
  tzset();
}

std::string ArchiveError(archive *a, const std::string &what) {
  const char *msg = archive_error_string(a);
  return what + ": " + (msg ? msg : "unknown libarchive error");
}

} // namespace

bool WriteZip(const std::string &path, const std::vector<ZipInput> &entries,
              std::string &error) {
  PinTimeZone();
  archive *a = archive_write_new();
  if (a == nullptr) {
    error = "cannot create the archive writer";
    return false;
  }
  bool ok =
      archive_write_set_format_zip(a) == ARCHIVE_OK &&
      archive_write_zip_set_compression_deflate(a) == ARCHIVE_OK &&
      archive_write_set_options(a, "zip:compression-level=9") == ARCHIVE_OK;
  if (!ok)
    error = ArchiveError(a, "cannot set up the ZIP format");
  if (ok && archive_write_open_filename(a, path.c_str()) != ARCHIVE_OK) {
    error = ArchiveError(a, "cannot create " + path);
    ok = false;
  }
  for (size_t i = 0; ok && i < entries.size(); ++i) {
    const ZipInput &in = entries[i];
    archive_entry *e = archive_entry_new();
    archive_entry_set_pathname(e, in.name.c_str());
    archive_entry_set_filetype(e, AE_IFREG);
    archive_entry_set_perm(e, 0644);
    archive_entry_set_uid(e, 0);
    archive_entry_set_gid(e, 0);
    archive_entry_set_mtime(e, kFixedTime, 0);
    archive_entry_set_size(e, static_cast<la_int64_t>(in.data.size()));
    if (archive_write_header(a, e) != ARCHIVE_OK) {
      error = ArchiveError(a, "cannot add " + in.name);
      ok = false;
    } else if (!in.data.empty() &&
               archive_write_data(a, in.data.data(), in.data.size()) !=
                   static_cast<la_ssize_t>(in.data.size())) {
      error = ArchiveError(a, "cannot write " + in.name);
      ok = false;
    }
    archive_entry_free(e);
  }
  if (archive_write_close(a) != ARCHIVE_OK && ok) {
    error = ArchiveError(a, "cannot finish " + path);
    ok = false;
  }
  archive_write_free(a);
  return ok;
}

} // namespace forge
