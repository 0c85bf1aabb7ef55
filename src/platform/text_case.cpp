// text_case.cpp — upper case for any script, through the text library.
#include <glib.h>

#include "platform/text.h"

namespace plat {

std::string UpperCase(const std::string &utf8) {
  if (!g_utf8_validate(utf8.data(), static_cast<gssize>(utf8.size()), nullptr))
    return utf8;
  gchar *upper = g_utf8_strup(utf8.data(), static_cast<gssize>(utf8.size()));
  if (upper == nullptr)
    return utf8;
  std::string out = upper;
  g_free(upper);
  return out;
}

} // namespace plat
