// keyvalue.h — the key=value text format shared by the preferences and the
// language files: groups in brackets, "key = value" lines, ";" comments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kv {

struct Group {
  std::string name;                                         // as written, UTF-8
  std::vector<std::pair<std::string, std::string>> entries; // file order
};

// A parsed file. Entries that stand before the first group line are not
// kept. Text is UTF-8 whatever the file's encoding was.
struct Document {
  std::vector<Group> groups;
};

// A leading UTF-8 byte-order mark selects UTF-8; without it every byte is
// one ISO 8859-1 character. Lines end in CR, LF or CR LF.
Document Parse(const uint8_t *data, size_t size);
Document Parse(const std::string &bytes);
// Preferences and language files are a few kilobytes; a larger file is not
// one of them.
constexpr size_t kMaxFileSize = 1024 * 1024;
// Parses the file; false, with out untouched, when it cannot be read: not a
// regular file (a folder, a FIFO, a device), or above kMaxFileSize.
bool ParseFile(const std::string &path, Document &out);

// The first group whose name matches without regard to letter case, or
// nullptr.
const Group *FindGroup(const Document &doc, const std::string &name);
// The first entry of the group whose key matches without regard to case;
// trimmed of blanks and tabs, or the fallback when absent.
std::string ReadText(const Group *group, const std::string &key,
                     const std::string &fallback);
// The longest leading decimal number of the value (0 when it has none), or
// the fallback when the key is absent.
int32_t ReadInt(const Group *group, const std::string &key, int32_t fallback);
int32_t ParseLeadingInt(const std::string &value);

bool EqualsNoCase(const std::string &a, const std::string &b);

} // namespace kv
