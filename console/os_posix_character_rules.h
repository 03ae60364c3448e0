// The POSIX console's rules for where characters end in the terminal's
// codeset, as iconv finds them: on glibc the same conversion modules the
// locale itself decodes by. A codeset iconv does not know is taken to be
// UTF-8.
#pragma once

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <string>

#include "console/keys.h"

namespace luling {

class iconv_character_rules final : public character_rules {
 public:
  explicit iconv_character_rules(const std::string& codeset)
      : to_utf32_(iconv_open("UTF-32LE", codeset.c_str())) {
    if (to_utf32_ == iconv_t(-1)) to_utf32_ = iconv_open("UTF-32LE", "UTF-8");
  }
  ~iconv_character_rules() {
    if (to_utf32_ != iconv_t(-1)) iconv_close(to_utf32_);
  }
  iconv_character_rules(const iconv_character_rules&) = delete;
  iconv_character_rules& operator=(const iconv_character_rules&) = delete;

  int measure(const unsigned char* bytes, std::size_t size) const override {
    if (to_utf32_ == iconv_t(-1)) return 1;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
    std::size_t in_left = size;
    char out[8];
    char* to = out;
    std::size_t room = sizeof out;
    const std::size_t result = iconv(to_utf32_, &in, &in_left, &to, &room);
    const int error = errno;
    iconv(to_utf32_, nullptr, nullptr, nullptr, nullptr);
    if (result != std::size_t(-1) || error == E2BIG) return static_cast<int>(size - in_left);
    return error == EINVAL ? 0 : -1;
  }

 private:
  iconv_t to_utf32_;
};

}  // namespace luling
