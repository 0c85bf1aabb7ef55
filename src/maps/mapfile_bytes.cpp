// mapfile_bytes.cpp — little-endian fields and UTF-16LE text fields.
#include "maps/mapfile_bytes.h"

#include <cstring>

namespace mapfile {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string &out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one code point at text[i]; advances i past what was used.
uint32_t NextCodePoint(const std::string &text, size_t &i) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t lead = byte(i);
  int extra = 0;
  uint32_t cp = 0, min = 0;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    ++i;
    return kReplacement;
  }
  size_t k = i + 1;
  for (int n = 0; n < extra; ++n, ++k) {
    if (k >= text.size() || (byte(k) & 0xC0) != 0x80) {
      i = k;
      return kReplacement;
    }
    cp = (cp << 6) | (byte(k) & 0x3F);
  }
  i = k;
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    return kReplacement;
  return cp;
}

} // namespace

std::string Utf16ToUtf8(const uint16_t *units, size_t count) {
  std::string out;
  for (size_t i = 0; i < count && units[i] != 0; ++i) {
    const uint32_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

std::vector<uint16_t> Utf8ToUtf16(const std::string &text) {
  std::vector<uint16_t> out;
  for (size_t i = 0; i < text.size();) {
    const uint32_t cp = NextCodePoint(text, i);
    if (cp >= 0x10000) {
      out.push_back(static_cast<uint16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<uint16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<uint16_t>(cp));
    }
  }
  return out;
}

bool ByteReader::Skip(size_t n) {
  if (n > Remaining())
    return false;
  pos += n;
  return true;
}

bool ByteReader::U8(uint8_t &v) {
  if (Remaining() < 1)
    return false;
  v = data[pos++];
  return true;
}

bool ByteReader::I8(int8_t &v) {
  uint8_t u = 0;
  if (!U8(u))
    return false;
  v = static_cast<int8_t>(u);
  return true;
}

bool ByteReader::I16(int16_t &v) {
  if (Remaining() < 2)
    return false;
  v = static_cast<int16_t>(data[pos] | (data[pos + 1] << 8));
  pos += 2;
  return true;
}

bool ByteReader::I32(int32_t &v) {
  if (Remaining() < 4)
    return false;
  uint32_t u = 0;
  for (int k = 3; k >= 0; --k)
    u = (u << 8) | data[pos + k];
  v = static_cast<int32_t>(u);
  pos += 4;
  return true;
}

bool ByteReader::I64(int64_t &v) {
  if (Remaining() < 8)
    return false;
  uint64_t u = 0;
  for (int k = 7; k >= 0; --k)
    u = (u << 8) | data[pos + k];
  v = static_cast<int64_t>(u);
  pos += 8;
  return true;
}

bool ByteReader::Text(size_t units, std::string &out) {
  if (units > Remaining() / 2)
    return false;
  std::vector<uint16_t> buffer(units);
  for (size_t k = 0; k < units; ++k)
    buffer[k] =
        static_cast<uint16_t>(data[pos + 2 * k] | (data[pos + 2 * k + 1] << 8));
  out = Utf16ToUtf8(buffer.data(), units);
  pos += 2 * units;
  return true;
}

void ByteWriter::Zeros(size_t n) { out.insert(out.end(), n, 0); }

void ByteWriter::Bytes(const void *data, size_t n) {
  const auto *p = static_cast<const uint8_t *>(data);
  out.insert(out.end(), p, p + n);
}

void ByteWriter::U8(uint8_t v) { out.push_back(v); }

void ByteWriter::I16(int16_t v) {
  const auto u = static_cast<uint16_t>(v);
  out.push_back(static_cast<uint8_t>(u));
  out.push_back(static_cast<uint8_t>(u >> 8));
}

void ByteWriter::I32(int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int k = 0; k < 4; ++k)
    out.push_back(static_cast<uint8_t>(u >> (8 * k)));
}

void ByteWriter::I64(int64_t v) {
  const auto u = static_cast<uint64_t>(v);
  for (int k = 0; k < 8; ++k)
    out.push_back(static_cast<uint8_t>(u >> (8 * k)));
}

void ByteWriter::Text(const std::string &text, size_t units) {
  std::vector<uint16_t> encoded = Utf8ToUtf16(text);
  // The first NUL ends the text when it is read back.
  for (size_t k = 0; k < encoded.size(); ++k) {
    if (encoded[k] == 0) {
      encoded.resize(k);
      break;
    }
  }
  if (encoded.size() > units) {
    size_t keep = units;
    // Never keep half of a surrogate pair.
    if (keep > 0 && encoded[keep - 1] >= 0xD800 && encoded[keep - 1] <= 0xDBFF)
      --keep;
    encoded.resize(keep);
  }
  for (uint16_t u : encoded) {
    out.push_back(static_cast<uint8_t>(u));
    out.push_back(static_cast<uint8_t>(u >> 8));
  }
  Zeros(2 * (units - encoded.size()));
}

} // namespace mapfile
