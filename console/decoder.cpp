#include "console/decoder.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace luling {
namespace {

// Byte-order marks: UTF-8's, and UTF-16's in little- and big-endian order.
constexpr std::string_view utf8_mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16_little_mark = "\xFF\xFE";
constexpr std::string_view utf16_big_mark = "\xFE\xFF";

// U+FFFD, what a broken character becomes.
constexpr char32_t replacement = 0xFFFD;

constexpr bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Writes `c` as UTF-8; returns the number of bytes.
std::size_t encode(char32_t c, char* out) {
  const auto byte = [](char32_t bits) { return static_cast<char>(static_cast<unsigned char>(bits)); };
  if (c < 0x80) {
    out[0] = byte(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = byte(0xC0 | c >> 6);
    out[1] = byte(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = byte(0xE0 | c >> 12);
    out[1] = byte(0x80 | (c >> 6 & 0x3F));
    out[2] = byte(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = byte(0xF0 | c >> 18);
  out[1] = byte(0x80 | (c >> 12 & 0x3F));
  out[2] = byte(0x80 | (c >> 6 & 0x3F));
  out[3] = byte(0x80 | (c & 0x3F));
  return 4;
}

}  // namespace

std::size_t utf16_to_utf8::convert(char16_t unit, char* out) {
  std::size_t n = 0;
  if (high_ != 0) {
    if (is_low_surrogate(unit)) {
      const char32_t c = 0x10000u + ((char32_t{high_} - 0xD800u) << 10) + (char32_t{unit} - 0xDC00u);
      high_ = 0;
      return encode(c, out);
    }
    high_ = 0;
    n = encode(replacement, out);
  }
  if (is_high_surrogate(unit)) {
    high_ = unit;
    return n;
  }
  return n + encode(is_low_surrogate(unit) ? replacement : char32_t{unit}, out + n);
}

std::size_t utf16_to_utf8::finish(char* out) {
  if (high_ == 0) return 0;
  high_ = 0;
  return encode(replacement, out);
}

void input_decoder::decide() {
  const struct {
    std::string_view mark;
    form form_it_marks;
  } marks[] = {
      {utf8_mark, form::bytes},
      {utf16_little_mark, form::utf16_little},
      {utf16_big_mark, form::utf16_big},
  };
  for (;;) {
    const std::string_view start(raw_.bytes + raw_.begin, raw_.end - raw_.begin);
    bool may_be_a_mark = false;
    for (const auto& m : marks) {
      if (start.starts_with(m.mark)) {
        raw_.begin += m.mark.size();
        form_ = m.form_it_marks;
        return;
      }
      may_be_a_mark = may_be_a_mark || m.mark.starts_with(start);
    }
    if (!may_be_a_mark || !raw_.refill(source_)) {
      form_ = form::bytes;
      return;
    }
  }
}

std::ptrdiff_t input_decoder::read(char* buffer, std::size_t size) {
  if (form_ == form::undecided) decide();
  if (form_ != form::bytes) return read_utf16(buffer, size);
  if (raw_.begin != raw_.end) {  // what deciding read
    const std::size_t n = std::min(size, raw_.end - raw_.begin);
    std::memcpy(buffer, raw_.bytes + raw_.begin, n);
    raw_.begin += n;
    return static_cast<std::ptrdiff_t>(n);
  }
  if (raw_.ended) return raw_.failed ? failed : 0;
  return source_.read(buffer, size);
}

std::ptrdiff_t input_decoder::read_utf16(char* buffer, std::size_t size) {
  std::size_t written = 0;
  for (;;) {
    while (raw_.end - raw_.begin >= 2 && size - written >= utf16_to_utf8::max_bytes) {
      const auto first = static_cast<unsigned char>(raw_.bytes[raw_.begin]);
      const auto second = static_cast<unsigned char>(raw_.bytes[raw_.begin + 1]);
      raw_.begin += 2;
      const auto unit = static_cast<char16_t>(form_ == form::utf16_little ? second << 8 | first : first << 8 | second);
      written += utf8_.convert(unit, buffer + written);
    }
    if (written > 0) return static_cast<std::ptrdiff_t>(written);
    if (!raw_.refill(source_)) break;
  }
  // The end: an odd byte left over and a lone high surrogate are broken.
  if (raw_.begin != raw_.end) {
    raw_.begin = raw_.end;
    written += encode(replacement, buffer);
  }
  written += utf8_.finish(buffer + written);
  if (written > 0) return static_cast<std::ptrdiff_t>(written);
  return raw_.failed ? failed : 0;
}

}  // namespace luling
