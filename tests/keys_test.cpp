// One key press taken whole: where the bytes of a key end.
#include "console/keys.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using luling::key_encoding;

// How many bytes of `bytes` the scanner takes as one key.
std::size_t key_length(const std::string& bytes, key_encoding encoding) {
  luling::key_scanner scanner(encoding);
  std::size_t n = 0;
  while (n < bytes.size() && scanner.wants_more(static_cast<unsigned char>(bytes[n++]))) {
  }
  return n;
}

struct key_case {
  const char* name;
  std::string bytes;  // the key's bytes, then bytes of the next key
  key_encoding encoding;
  std::size_t length;
};

const key_case cases[] = {
    {"letter", "a5", key_encoding::utf8, 1},
    {"enter", "\n5", key_encoding::utf8, 1},
    {"space", " 5", key_encoding::utf8, 1},
    {"lone escape", "\x1b", key_encoding::utf8, 1},
    {"arrow up", "\x1b[A5", key_encoding::utf8, 3},
    {"arrow in application mode", "\x1bOA5", key_encoding::utf8, 3},
    {"F1", "\x1bOP5", key_encoding::utf8, 3},
    {"F5", "\x1b[15~5", key_encoding::utf8, 5},
    {"shift and arrow", "\x1b[1;2C5", key_encoding::utf8, 6},
    {"Linux console F1", "\x1b[[A5", key_encoding::utf8, 4},
    {"alt and a letter", "\x1bx5", key_encoding::utf8, 2},
    {"two-byte UTF-8", "\xC3\xB7" "5", key_encoding::utf8, 2},
    {"three-byte UTF-8", "\xE4\xBD\xA0" "5", key_encoding::utf8, 3},
    {"four-byte UTF-8", "\xF0\x9F\x98\x80" "5", key_encoding::utf8, 4},
    {"broken UTF-8 stops at the foreign byte", "\xE4" "5", key_encoding::utf8, 2},
    {"GBK character", "\xC4\xE3" "5", key_encoding::gbk, 2},
    {"GB18030 four-byte character", "\x81\x30\x81\x30" "5", key_encoding::gbk, 4},
    {"arrow on a GBK terminal", "\x1b[B5", key_encoding::gbk, 3},
};

TEST(keys, take_the_whole_key_and_nothing_of_the_next) {
  for (const key_case& c : cases) {
    EXPECT_EQ(key_length(c.bytes, c.encoding), c.length) << c.name;
  }
}

}  // namespace
