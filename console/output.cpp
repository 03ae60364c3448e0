#include "console/output.h"

#include <charconv>

namespace luling {

void output::write_through(std::string_view bytes) {
  flush();
  if (bytes.size() > capacity) {
    sink_.write(bytes.data(), bytes.size());
  } else {
    std::memcpy(buffer_, bytes.data(), bytes.size());
    size_ = bytes.size();
  }
}

void output::write_number(std::int32_t value) {
  char digits[16];  // "-2147483648" is the longest
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  write(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

}  // namespace luling
