// Where input bytes come from and where output bytes go: the two interfaces
// at which the reader, the output buffer and the platform's streams meet.
#pragma once

#include <cstddef>

namespace luling {

class byte_source {
 public:
  // What read returns when reading failed rather than ended.
  static constexpr std::ptrdiff_t failed = -1;

  // Waits for input and stores up to `size` bytes; returns how many, 0 at
  // the end of input, or `failed`.
  virtual std::ptrdiff_t read(char* buffer, std::size_t size) = 0;

 protected:
  ~byte_source() = default;
};

class byte_sink {
 public:
  // Takes all `size` bytes; what a sink does when they cannot be written
  // is its own affair.
  virtual void write(const char* data, std::size_t size) = 0;

 protected:
  ~byte_sink() = default;
};

}  // namespace luling
