// keyvalue.cpp — reader of the key=value text format.
#include "settings/keyvalue.h"

#include <climits>

#include "platform/files.h"

namespace kv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimBlanks(const std::string &s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b]))
    ++b;
  while (e > b && IsBlank(s[e - 1]))
    --e;
  return s.substr(b, e - b);
}

// Without a byte-order mark every byte is a code point of its own.
std::string Latin1ToUtf8(const uint8_t *data, size_t size) {
  std::string out;
  out.reserve(size + size / 8);
  for (size_t i = 0; i < size; ++i) {
    uint8_t c = data[i];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool EqualsNoCase(const std::string &a, const std::string &b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i]))
      return false;
  return true;
}

Document Parse(const uint8_t *data, size_t size) {
  std::string text;
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF)
    text.assign(reinterpret_cast<const char *>(data) + 3, size - 3);
  else
    text = Latin1ToUtf8(data, size);

  Document doc;
  Group *current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
      ++end;
    std::string line = text.substr(pos, end - pos);
    // One line end: CR, LF or CR LF.
    if (end < text.size() && text[end] == '\r')
      ++end;
    if (end < text.size() && text[end] == '\n')
      ++end;
    pos = end;

    size_t start = 0;
    while (start < line.size() && IsBlank(line[start]))
      ++start;
    if (start == line.size() || line[start] == ';')
      continue;
    if (line[start] == '[') {
      size_t close = line.find(']', start + 1);
      std::string name = close == std::string::npos
                             ? line.substr(start + 1)
                             : line.substr(start + 1, close - start - 1);
      doc.groups.push_back(Group{name, {}});
      current = &doc.groups.back();
      continue;
    }
    size_t eq = line.find('=', start);
    if (eq == std::string::npos || current == nullptr)
      continue;
    std::string key = line.substr(start, eq - start);
    while (!key.empty() && IsBlank(key.back()))
      key.pop_back();
    size_t v = eq + 1;
    while (v < line.size() && IsBlank(line[v]))
      ++v;
    current->entries.emplace_back(key, line.substr(v));
  }
  return doc;
}

Document Parse(const std::string &bytes) {
  return Parse(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
}

bool ParseFile(const std::string &path, Document &out) {
  std::vector<uint8_t> bytes;
  if (!plat::ReadFileChecked(path, kMaxFileSize, bytes))
    return false;
  out = Parse(bytes.data(), bytes.size());
  return true;
}

const Group *FindGroup(const Document &doc, const std::string &name) {
  for (const Group &g : doc.groups)
    if (EqualsNoCase(g.name, name))
      return &g;
  return nullptr;
}

namespace {
const std::string *FindValue(const Group *group, const std::string &key) {
  if (group == nullptr)
    return nullptr;
  for (const auto &[k, v] : group->entries)
    if (EqualsNoCase(k, key))
      return &v;
  return nullptr;
}
} // namespace

std::string ReadText(const Group *group, const std::string &key,
                     const std::string &fallback) {
  const std::string *v = FindValue(group, key);
  return v ? TrimBlanks(*v) : fallback;
}

int32_t ParseLeadingInt(const std::string &value) {
  size_t i = 0;
  while (i < value.size() && IsBlank(value[i]))
    ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
    negative = value[i] == '-';
    ++i;
  }
  int64_t n = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    n = n * 10 + (value[i] - '0');
    if (n > static_cast<int64_t>(INT32_MAX) + 1)
      n = static_cast<int64_t>(INT32_MAX) + 1; // saturate, never overflow
  }
  if (negative)
    n = -n;
  if (n > INT32_MAX)
    n = INT32_MAX;
  return static_cast<int32_t>(n);
}

int32_t ReadInt(const Group *group, const std::string &key, int32_t fallback) {
  const std::string *v = FindValue(group, key);
  return v ? ParseLeadingInt(*v) : fallback;
}

} // namespace kv
