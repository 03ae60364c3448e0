// A byte source for tests of the reader: hands out its bytes at most `chunk`
// at a time, as a pipe may, and with `by_lines` never past a line end, as a
// terminal does; then ends, or with `fails` fails. Records how far it has
// handed them out.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "console/decoder.h"

namespace luling::testing {

class chunked_source final : public byte_source {
 public:
  chunked_source(std::string bytes, std::size_t chunk, bool fails = false, bool by_lines = false)
      : bytes_(std::move(bytes)), chunk_(chunk), fails_(fails), by_lines_(by_lines) {}

  std::ptrdiff_t read(char* buffer, std::size_t size) override {
    std::size_t n = std::min({size, chunk_, bytes_.size() - at_});
    if (n == 0 && fails_) return failed;
    if (const void* line_end = std::memchr(bytes_.data() + at_, '\n', n); by_lines_ && line_end != nullptr) {
      n = static_cast<std::size_t>(static_cast<const char*>(line_end) - bytes_.data()) - at_ + 1;
    }
    std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return static_cast<std::ptrdiff_t>(n);
  }
  std::size_t consumed() const { return at_; }

 private:
  std::string bytes_;
  std::size_t chunk_;
  bool fails_;
  bool by_lines_;
  std::size_t at_ = 0;
};

}  // namespace luling::testing
