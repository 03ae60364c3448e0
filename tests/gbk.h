// Text converted between encodings with iconv, for tests that read a UTF-8
// terminal, compare the catalogue with its Chinese, or decode what the
// program is given.
#pragma once

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

#include "console/texts.h"

namespace luling::testing {

// `bytes` converted from one encoding to another, or nothing if they are
// not valid in the first.
inline std::optional<std::string> convert(std::string_view bytes, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == iconv_t(-1)) return std::nullopt;
  std::string out(bytes.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  char* at = out.data();
  std::size_t room = out.size();
  const bool ok = iconv(cd, &in, &in_left, &at, &room) != std::size_t(-1) && in_left == 0;
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(out.size() - room);
  return out;
}

// Decodes GBK bytes to UTF-8; an error yields a marker that matches nothing.
inline std::string gbk_to_utf8(text gbk) { return convert(gbk, "GBK", "UTF-8").value_or("<invalid GBK>"); }

}  // namespace luling::testing
