#include "console/reader.h"

namespace luling {
namespace {

constexpr bool is_digit(int c) { return c >= '0' && c <= '9'; }

// Space, tab, line feed, vertical tab, form feed and carriage return.
constexpr bool is_space(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The largest magnitudes a 32-bit signed integer takes.
constexpr std::uint32_t max_positive = 2147483647u;
constexpr std::uint32_t max_negative = 2147483648u;

}  // namespace

bool reader::refill() {
  if (ended_) return false;
  begin_ = 0;
  end_ = source_.read(buffer_, sizeof buffer_);
  ended_ = end_ == 0;
  return !ended_;
}

// Takes white space; returns the first other byte, still unread.
int reader::skip_space() {
  for (;;) {
    while (begin_ != end_ && is_space(static_cast<unsigned char>(buffer_[begin_]))) ++begin_;
    if (begin_ != end_) return static_cast<unsigned char>(buffer_[begin_]);
    if (!refill()) return end_of_input;
  }
}

// Takes everything up to and including the next line feed.
void reader::skip_line() {
  for (int c = peek(); c != end_of_input; c = peek()) {
    take();
    if (c == '\n') return;
  }
}

read_status reader::read(std::int32_t& value) {
  int c = skip_space();
  if (c == end_of_input) return read_status::end;
  const bool negative = c == '-';
  if (c == '-' || c == '+') {
    take();
    c = peek();
  }
  if (!is_digit(c)) {
    skip_line();
    return read_status::invalid;
  }
  const std::uint32_t limit = negative ? max_negative : max_positive;
  std::uint64_t magnitude = 0;  // saturates above the limit
  do {
    // The digits in the buffer, scanned in one go.
    const char* at = buffer_ + begin_;
    const char* const end = buffer_ + end_;
    for (; at != end && is_digit(static_cast<unsigned char>(*at)); ++at) {
      magnitude = magnitude * 10 + static_cast<unsigned>(*at - '0');
      if (magnitude > limit) magnitude = std::uint64_t{limit} + 1;
    }
    begin_ = static_cast<std::size_t>(at - buffer_);
  } while (begin_ == end_ && refill());
  if (magnitude > limit) {
    skip_line();
    return read_status::outside_range;
  }
  // Modular conversion: 2147483648 negated lands on the smallest value.
  const auto bits = static_cast<std::uint32_t>(magnitude);
  value = static_cast<std::int32_t>(negative ? 0u - bits : bits);
  return read_status::number;
}

}  // namespace luling
