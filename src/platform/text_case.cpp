// text_case.cpp — upper case for any script, through the text library.
#include <glib.h>

#include "platform/text.h"

namespace {

bool Greek(gunichar c) {
  return (c >= 0x0370 && c <= 0x03FF) || (c >= 0x1F00 && c <= 0x1FFF);
}

// Greek written in capitals carries no accents: "Ελληνικά" is "ΕΛΛΗΝΙΚΑ",
// not "ΕΛΛΗΝΙΚΆ". The capitals with tonos lose it, and so does a
// combining acute that follows a Greek letter.
gunichar WithoutTonos(gunichar c) {
  switch (c) {
  case 0x0386:
    return 0x0391;
  case 0x0388:
    return 0x0395;
  case 0x0389:
    return 0x0397;
  case 0x038A:
    return 0x0399;
  case 0x038C:
    return 0x039F;
  case 0x038E:
    return 0x03A5;
  case 0x038F:
    return 0x03A9;
  default:
    return c;
  }
}

std::string DropGreekTonos(const std::string &utf8) {
  std::string out;
  bool afterGreek = false;
  for (const char *p = utf8.c_str(); *p != '\0'; p = g_utf8_next_char(p)) {
    const gunichar c = g_utf8_get_char(p);
    const bool mark = g_unichar_ismark(c);
    if (mark && afterGreek && c == 0x0301)
      continue;
    if (!mark)
      afterGreek = Greek(c);
    char buf[6];
    out.append(buf, g_unichar_to_utf8(WithoutTonos(c), buf));
  }
  return out;
}

} // namespace

namespace plat {

std::string UpperCase(const std::string &utf8) {
  if (!g_utf8_validate(utf8.data(), static_cast<gssize>(utf8.size()), nullptr))
    return utf8;
  gchar *upper = g_utf8_strup(utf8.data(), static_cast<gssize>(utf8.size()));
  if (upper == nullptr)
    return utf8;
  std::string out = DropGreekTonos(upper);
  g_free(upper);
  return out;
}

} // namespace plat
