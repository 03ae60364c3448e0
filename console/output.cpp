#include "console/output.h"

#include <charconv>
#include <cstring>

namespace luling {

void output::write(std::string_view bytes) {
  if (bytes.empty()) return;
  if (bytes.size() > capacity - size_) flush();
  if (bytes.size() > capacity) {
    sink_.write(bytes.data(), bytes.size());
  } else {
    std::memcpy(buffer_ + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
  }
  at_line_start_ = bytes.back() == '\n';
}

void output::write_number(std::int32_t value) {
  char digits[16];  // "-2147483648" is the longest
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  write(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void output::line_end() {
  write("\n");
  flush();
}

void output::flush() {
  if (size_ == 0) return;
  const std::size_t size = size_;
  size_ = 0;
  sink_.write(buffer_, size);
}

}  // namespace luling
