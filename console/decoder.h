// Input in the form the reader takes it: bytes as they come, except that a
// UTF-8 byte-order mark at the start is dropped and UTF-16 with its
// byte-order mark (as Notepad saves it) becomes UTF-8.
#pragma once

#include <cstddef>
#include <cstring>

#include "console/bytes.h"

namespace luling {

// Input held in a buffer of `capacity` bytes: those from `begin` to `end`
// have been read and not yet taken.
template <std::size_t capacity>
struct input_buffer {
  char bytes[capacity];
  std::size_t begin = 0;
  std::size_t end = 0;
  bool ended = false;   // the source has ended or failed
  bool failed = false;  // the source has failed

  // Moves the bytes not yet taken to the front and reads more after them;
  // false once the source has ended or failed.
  bool refill(byte_source& source) {
    if (ended) return false;
    const std::size_t kept = end - begin;
    std::memmove(bytes, bytes + begin, kept);
    begin = 0;
    end = kept;
    const std::ptrdiff_t n = source.read(bytes + kept, capacity - kept);
    if (n <= 0) {
      ended = true;
      failed = n < 0;
      return false;
    }
    end += static_cast<std::size_t>(n);
    return true;
  }
};

// Turns UTF-16 code units into UTF-8, one at a time; a surrogate without its
// partner becomes U+FFFD, the replacement character.
class utf16_to_utf8 {
 public:
  // The most bytes one call writes.
  static constexpr std::size_t max_bytes = 6;

  // Writes the UTF-8 that `unit` completes at `out`; returns its length.
  std::size_t convert(char16_t unit, char* out);
  // Writes what a surrogate left at the end of input becomes.
  std::size_t finish(char* out);

 private:
  char16_t high_ = 0;  // a high surrogate waiting for its low one
};

class input_decoder final : public byte_source {
 public:
  explicit input_decoder(byte_source& source) : source_(source) {}
  input_decoder(const input_decoder&) = delete;
  input_decoder& operator=(const input_decoder&) = delete;

  // As byte_source::read; `size` must be at least utf16_to_utf8::max_bytes.
  std::ptrdiff_t read(char* buffer, std::size_t size) override;

 private:
  enum class form { undecided, bytes, utf16_little, utf16_big };

  // Reads until the start of input tells its form.
  void decide();
  std::ptrdiff_t read_utf16(char* buffer, std::size_t size);

  byte_source& source_;
  form form_ = form::undecided;
  input_buffer<4096> raw_;  // as the source hands it over
  utf16_to_utf8 utf8_;
};

}  // namespace luling
