#include "console/reader.h"

#include <cstring>
#include <string_view>

namespace luling {
namespace {

constexpr bool is_digit(int c) { return c >= '0' && c <= '9'; }

// Space, tab, line feed, vertical tab, form feed and carriage return.
constexpr bool is_space(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The largest magnitudes a 32-bit signed integer takes.
constexpr std::uint32_t max_positive = 2147483647u;
constexpr std::uint32_t max_negative = 2147483648u;

// A full-width character that the reader takes as the ASCII one it stands
// for, as an input method in full-width mode types it. A run of digits
// counts on from its first member: the last byte of ０ plus n is that of n.
struct full_width_form {
  std::string_view bytes;  // of the run's first member
  char ascii;
  int run;
};
constexpr full_width_form full_width_forms[] = {
    {"\xA3\xB0", '0', 10},      // ０ to ９ in GBK
    {"\xA3\xAB", '+', 1},       // ＋ in GBK
    {"\xA3\xAD", '-', 1},       // － in GBK
    {"\xA1\xA1", ' ', 1},       // the ideographic space in GBK
    {"\xEF\xBC\x90", '0', 10},  // ０ to ９ in UTF-8
    {"\xEF\xBC\x8B", '+', 1},   // ＋ in UTF-8
    {"\xEF\xBC\x8D", '-', 1},   // － in UTF-8
    {"\xE3\x80\x80", ' ', 1},   // the ideographic space in UTF-8
};

// What `size` (at least 1) bytes start with: a full-width form's ASCII byte
// and length, or else their first byte alone.
struct full_width_match {
  int ascii;
  std::size_t length;
  bool cut_short;  // the bytes end inside what may be a full-width form
};

full_width_match match_full_width(const unsigned char* bytes, std::size_t size) {
  bool cut_short = false;
  for (const full_width_form& form : full_width_forms) {
    const std::size_t last = form.bytes.size() - 1;
    const auto expected = [&](std::size_t i) { return static_cast<unsigned char>(form.bytes[i]); };
    std::size_t i = 0;
    while (i < last && i < size && bytes[i] == expected(i)) ++i;
    if (i == size) {
      cut_short = true;
    } else if (i == last && bytes[i] >= expected(i) && bytes[i] - expected(i) < form.run) {
      return {form.ascii + bytes[i] - expected(i), form.bytes.size(), false};
    }
  }
  return {bytes[0], 1, cut_short};
}

}  // namespace

reader::character reader::look() {
  for (;;) {
    if (in_.begin == in_.end && !refill()) return {end_of_input, 0};
    const auto* at = reinterpret_cast<const unsigned char*>(in_.bytes + in_.begin);
    if (*at < 0x80) return {*at, 1};
    const full_width_match m = match_full_width(at, in_.end - in_.begin);
    // A form cut off by the end of what has arrived waits for its rest.
    if (!m.cut_short || !refill()) return {m.ascii, m.length};
  }
}

// Takes white space; returns the first other character, still unread.
reader::character reader::skip_space() {
  for (;;) {
    while (in_.begin != in_.end && is_space(static_cast<unsigned char>(in_.bytes[in_.begin]))) ++in_.begin;
    const character c = look();
    if (c.ascii == end_of_input || !is_space(c.ascii)) return c;
    take(c);
  }
}

// Takes everything up to and including the next line end: a line feed or a
// carriage return. Of CR LF, the LF is left to be skipped as white space.
void reader::skip_line() {
  for (;;) {
    const char* const begin = in_.bytes + in_.begin;
    const std::size_t size = in_.end - in_.begin;
    const void* feed = std::memchr(begin, '\n', size);
    const std::size_t before_feed = feed != nullptr ? static_cast<std::size_t>(static_cast<const char*>(feed) - begin) : size;
    const void* line_end = std::memchr(begin, '\r', before_feed);
    if (line_end == nullptr) line_end = feed;
    if (line_end != nullptr) {
      in_.begin += static_cast<std::size_t>(static_cast<const char*>(line_end) - begin) + 1;
      return;
    }
    in_.begin = in_.end;
    if (!refill()) return;
  }
}

read_status reader::read(std::int32_t& value) {
  character c = skip_space();
  if (c.ascii == end_of_input) return in_.failed ? read_status::failed : read_status::end;
  const bool negative = c.ascii == '-';
  if (c.ascii == '-' || c.ascii == '+') {
    take(c);
    c = look();
  }
  if (!is_digit(c.ascii)) {
    skip_line();
    return read_status::invalid;
  }
  const std::uint32_t limit = negative ? max_negative : max_positive;
  std::uint64_t magnitude = 0;  // saturates above the limit
  const auto add_digit = [&](int ascii) {
    magnitude = magnitude * 10 + static_cast<unsigned>(ascii - '0');
    if (magnitude > limit) magnitude = std::uint64_t{limit} + 1;
  };
  for (;;) {
    // The ASCII digits in the buffer, scanned in one go.
    const char* at = in_.bytes + in_.begin;
    const char* const end = in_.bytes + in_.end;
    for (; at != end && is_digit(static_cast<unsigned char>(*at)); ++at) add_digit(*at);
    in_.begin = static_cast<std::size_t>(at - in_.bytes);
    if (in_.begin == in_.end) {
      if (refill()) continue;
      break;
    }
    if (static_cast<unsigned char>(*at) < 0x80) break;
    c = look();  // a full-width digit goes on with the number
    if (!is_digit(c.ascii)) break;
    add_digit(c.ascii);
    take(c);
  }
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
