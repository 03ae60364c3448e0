// GBK screen texts as UTF-8, for tests that read a UTF-8 terminal or compare
// the catalogue with its Chinese.
#pragma once

#include <iconv.h>

#include <string>

#include "console/texts.h"

namespace luling::testing {

// Decodes GBK bytes to UTF-8; an error yields a marker that matches nothing.
inline std::string gbk_to_utf8(text gbk) {
  iconv_t cd = iconv_open("UTF-8", "GBK");
  if (cd == iconv_t(-1)) return "<no GBK converter>";
  std::string out(gbk.size() * 2, '\0');
  char* in = const_cast<char*>(gbk.data());
  std::size_t in_left = gbk.size();
  char* to = out.data();
  std::size_t to_left = out.size();
  const bool ok = iconv(cd, &in, &in_left, &to, &to_left) != std::size_t(-1) && in_left == 0;
  iconv_close(cd);
  if (!ok) return "<invalid GBK>";
  out.resize(out.size() - to_left);
  return out;
}

}  // namespace luling::testing
