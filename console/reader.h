// Reading integers from a stream of bytes, as the console's `read_integer`
// does: the form, the range and the answers to input outside them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace luling {

// Where input bytes come from.
class byte_source {
 public:
  // Waits for input and stores up to `size` bytes; returns how many, or 0 at
  // the end of input.
  virtual std::size_t read(char* buffer, std::size_t size) = 0;

 protected:
  ~byte_source() = default;
};

enum class read_status {
  number,        // a value in range was read
  invalid,       // no digits where a number was expected; the line is dropped
  outside_range, // a value outside the 32-bit range; the line is dropped
  end,           // only white space was left before the end of input
};

// Reads integers one at a time from a byte source, holding at most one
// buffer of it: white space, an optional sign, then decimal digits.
class reader {
 public:
  explicit reader(byte_source& source) : source_(source) {}
  reader(const reader&) = delete;
  reader& operator=(const reader&) = delete;

  // Reads the next integer. Sets `value` only for read_status::number; the
  // byte that ended the number stays unread. After invalid or outside_range
  // input the rest of its line, through the line feed, has been consumed.
  read_status read(std::int32_t& value);

 private:
  static constexpr int end_of_input = -1;

  // The next byte without taking it, or end_of_input; may wait for input.
  int peek() {
    if (begin_ == end_ && !refill()) return end_of_input;
    return static_cast<unsigned char>(buffer_[begin_]);
  }
  void take() { ++begin_; }
  bool refill();
  int skip_space();
  void skip_line();

  byte_source& source_;
  char buffer_[1 << 16];
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool ended_ = false;
};

}  // namespace luling
