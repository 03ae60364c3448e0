// Buffered writing of screen texts and numbers, flushed at every line end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "console/bytes.h"

namespace luling {

// Collects output and hands it to the sink in one piece at each line end or
// explicit flush. A piece of text is never split across two hand-overs, so a
// sink that converts the encoding never sees half a character.
class output {
 public:
  explicit output(byte_sink& sink) : sink_(sink) {}
  output(const output&) = delete;
  output& operator=(const output&) = delete;

  // Appends bytes; nothing reaches the sink yet unless the buffer is full.
  void write(std::string_view bytes) {
    if (bytes.empty()) return;
    if (bytes.size() <= capacity - size_) {
      std::memcpy(buffer_ + size_, bytes.data(), bytes.size());
      size_ += bytes.size();
    } else {
      write_through(bytes);
    }
    at_line_start_ = bytes.back() == '\n';
  }
  // Appends the value in decimal: a minus sign if negative, no padding.
  void write_number(std::int32_t value);
  // Appends a newline and flushes.
  void line_end() {
    if (size_ == capacity) flush();
    buffer_[size_++] = '\n';
    at_line_start_ = true;
    flush();
  }
  void flush() {
    if (size_ == 0) return;
    const std::size_t size = size_;
    size_ = 0;
    sink_.write(buffer_, size);
  }
  // True if nothing was written yet or the last byte written was a newline.
  bool at_line_start() const { return at_line_start_; }

 private:
  static constexpr std::size_t capacity = 4096;

  // Flushes, then writes bytes that do not fit.
  void write_through(std::string_view bytes);

  byte_sink& sink_;
  char buffer_[capacity];
  std::size_t size_ = 0;
  bool at_line_start_ = true;
};

}  // namespace luling
