// Fuzzes the integer reader: arbitrary bytes as standard input, handed over
// the way a pipe or a terminal would. Every outcome must match a plain
// reference reading of the same bytes (values as strtoll makes them, the
// full-width forms from a table, UTF-16 as iconv decodes it), the reader
// must never take input past the line it is answering, and it must reach
// the end.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console/reader.h"
#include "tests/chunked_source.h"
#include "tests/gbk.h"

namespace {

using luling::read_status;

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The full-width forms the reader takes for ASCII: digits, signs and the
// ideographic space, in UTF-8 and in GBK.
std::vector<std::pair<std::string, char>> full_width_forms() {
  std::vector<std::pair<std::string, char>> forms = {
      {"\xEF\xBC\x8B", '+'}, {"\xEF\xBC\x8D", '-'}, {"\xE3\x80\x80", ' '},
      {"\xA3\xAB", '+'},     {"\xA3\xAD", '-'},     {"\xA1\xA1", ' '},
  };
  for (char d = 0; d < 10; ++d) {
    forms.emplace_back(std::string("\xEF\xBC") + static_cast<char>(0x90 + d), static_cast<char>('0' + d));
    forms.emplace_back(std::string("\xA3") + static_cast<char>(0xB0 + d), static_cast<char>('0' + d));
  }
  return forms;
}

// The character at `at`: the ASCII byte it is or stands for (0x7F for any
// other) and its length.
std::pair<char, std::size_t> character_at(std::string_view bytes, std::size_t at) {
  static const auto forms = full_width_forms();
  if (static_cast<unsigned char>(bytes[at]) < 0x80) return {bytes[at], 1};
  for (const auto& [form, ascii] : forms) {
    if (bytes.substr(at).starts_with(form)) return {ascii, form.size()};
  }
  return {'\x7F', 1};
}

// The expected outcome of one read, from position `at` (moved past it).
struct expectation {
  read_status status;
  std::int32_t value = 0;
  std::size_t last_taken = 0;  // the last byte the outcome depends on
};

// Just past the first of `ends` from `at`: a line end as the reader drops
// lines (CR or LF), or as a terminal hands them over (LF).
std::size_t past_line_end(std::string_view bytes, std::size_t at, const char* ends = "\r\n") {
  const std::size_t line_end = bytes.find_first_of(ends, at);
  return line_end == std::string_view::npos ? bytes.size() : line_end + 1;
}

expectation reference_read(std::string_view bytes, std::size_t& at) {
  while (at < bytes.size() && is_space(character_at(bytes, at).first)) at += character_at(bytes, at).second;
  if (at == bytes.size()) return {read_status::end};
  std::string token;
  if (const char sign = character_at(bytes, at).first; sign == '+' || sign == '-') {
    token += sign;
    at += character_at(bytes, at).second;
  }
  if (at == bytes.size() || !is_digit(character_at(bytes, at).first)) {
    const std::size_t last = at < bytes.size() ? at : at - 1;
    at = past_line_end(bytes, at);
    return {read_status::invalid, 0, last};
  }
  while (at < bytes.size() && is_digit(character_at(bytes, at).first)) {
    token += character_at(bytes, at).first;
    at += character_at(bytes, at).second;
  }
  errno = 0;
  const long long value = std::strtoll(token.c_str(), nullptr, 10);
  if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) {
    const std::size_t last = at < bytes.size() ? at : at - 1;
    at = past_line_end(bytes, at);
    return {read_status::outside_range, 0, last};
  }
  return {read_status::number, static_cast<std::int32_t>(value), at - 1};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the largest piece handed over at once.
  const std::size_t chunk = 1 + data[0] % 17 * 97;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  luling::testing::chunked_source source(std::string(bytes), chunk, /*fails=*/false, /*by_lines=*/true);
  luling::reader reader(source);

  // What the reader should see: the bytes after a UTF-8 byte-order mark, or
  // UTF-16 decoded; broken UTF-16 is only read to its end.
  std::optional<std::string> decoded;
  std::string_view expected_bytes = bytes;
  std::size_t at = 0;
  const bool utf16 = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
  if (utf16) {
    decoded = luling::testing::convert(bytes.substr(2), bytes[0] == '\xFF' ? "UTF-16LE" : "UTF-16BE", "UTF-8");
    if (decoded) expected_bytes = *decoded;
  } else if (bytes.starts_with("\xEF\xBB\xBF")) {
    at = 3;
  }
  for (std::size_t reads = 0;; ++reads) {
    if (reads > 2 * bytes.size() + 2) std::abort();  // every read but the last takes a byte
    std::int32_t value = 0;
    const read_status status = reader.read(value);
    if (status == read_status::end && utf16 && !decoded) return 0;
    if (utf16 && !decoded) continue;
    const expectation expected = reference_read(expected_bytes, at);
    if (status != expected.status) std::abort();
    if (status == read_status::end) return 0;
    if (status == read_status::number && value != expected.value) std::abort();
    // Nothing past the line that holds the last byte the outcome needed.
    if (!utf16 && source.consumed() > past_line_end(bytes, expected.last_taken, "\n")) std::abort();
  }
}
