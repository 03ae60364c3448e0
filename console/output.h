// Buffered writing of screen texts and numbers, flushed at every line end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace luling {

// Where output bytes go.
class byte_sink {
 public:
  // Writes all `size` bytes, or ends the process if they cannot be written.
  virtual void write(const char* data, std::size_t size) = 0;

 protected:
  ~byte_sink() = default;
};

// Collects output and hands it to the sink in one piece at each line end or
// explicit flush. A piece of text is never split across two hand-overs, so a
// sink that converts the encoding never sees half a character.
class output {
 public:
  explicit output(byte_sink& sink) : sink_(sink) {}
  output(const output&) = delete;
  output& operator=(const output&) = delete;

  // Appends bytes; nothing reaches the sink yet unless the buffer is full.
  void write(std::string_view bytes);
  // Appends the value in decimal: a minus sign if negative, no padding.
  void write_number(std::int32_t value);
  // Appends a newline and flushes.
  void line_end();
  void flush();
  // True if nothing was written yet or the last byte written was a newline.
  bool at_line_start() const { return at_line_start_; }

 private:
  static constexpr std::size_t capacity = 4096;

  byte_sink& sink_;
  char buffer_[capacity];
  std::size_t size_ = 0;
  bool at_line_start_ = true;
};

}  // namespace luling
