// Reading integers from a stream of bytes, as the console's `read_integer`
// does: the form, the range and the answers to input outside them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "console/decoder.h"

namespace luling {

enum class read_status {
  number,        // a value in range was read
  invalid,       // no digits where a number was expected; the line is dropped
  outside_range, // a value outside the 32-bit range; the line is dropped
  end,           // only white space was left before the end of input
  failed,        // only white space was left before reading failed
};

// Reads integers one at a time from a byte source, holding at most one
// buffer of it: white space, an optional sign, then decimal digits. Digits,
// signs and the ideographic space may also come in their full-width forms
// (１２, －５), encoded as GBK or UTF-8; the input may be UTF-16 with its
// byte-order mark.
class reader {
 public:
  explicit reader(byte_source& source) : source_(source) {}
  reader(const reader&) = delete;
  reader& operator=(const reader&) = delete;

  // Reads the next integer. Sets `value` only for read_status::number; the
  // character that ended the number stays unread. After invalid or
  // outside_range input the rest of its line, through its line end (LF or
  // CR), has been consumed.
  read_status read(std::int32_t& value);

 private:
  static constexpr int end_of_input = -1;

  // The next character, not yet taken: the ASCII byte it is or stands for
  // (a byte of 0x80 or more for any other), and how many bytes it takes.
  struct character {
    int ascii;
    std::size_t length;
  };

  character look();
  void take(character c) { in_.begin += c.length; }
  bool refill() { return in_.refill(source_); }
  character skip_space();
  void skip_line();

  input_decoder source_;
  input_buffer<1 << 16> in_;
};

}  // namespace luling
