#include "console/windows_rules.h"

#include <iterator>

namespace luling::windows_rules {
namespace {

// Ctrl-Z (SUB): at the start of a console line, ends the input.
constexpr wchar_t end_of_input_key = 0x1A;

// The system errors of a broken pipe: ERROR_BROKEN_PIPE, ERROR_NO_DATA (the
// pipe is being closed) and ERROR_PIPE_NOT_CONNECTED (as Wine reports it).
constexpr unsigned long broken_pipe_errors[] = {109, 232, 233};

}  // namespace

std::wstring with_crlf(std::wstring_view text) {
  std::wstring lines;
  lines.reserve(text.size());
  for (const wchar_t c : text) {
    if (c == L'\n') lines += L'\r';
    lines += c;
  }
  return lines;
}

std::ptrdiff_t console_input::read(char* buffer, std::size_t size) {
  if (ended_) return 0;
  wchar_t units[max_read_units];
  const std::size_t wanted = std::min(size / utf16_to_utf8::max_bytes, max_read_units);
  for (;;) {
    std::size_t got = 0;
    const unit_source::outcome outcome = console_.read(units, wanted, got);
    if (outcome == unit_source::outcome::failed) return failed;
    if (outcome == unit_source::outcome::aborted) continue;
    if (got == 0 || (at_line_start_ && units[0] == end_of_input_key)) {
      ended_ = true;
      return 0;
    }
    at_line_start_ = units[got - 1] == L'\n';
    std::size_t written = 0;
    for (std::size_t i = 0; i < got; ++i) written += utf8_.convert(static_cast<char16_t>(units[i]), buffer + written);
    if (written > 0) return static_cast<std::ptrdiff_t>(written);
  }
}

bool is_broken_pipe(unsigned long system_error) {
  return std::find(std::begin(broken_pipe_errors), std::end(broken_pipe_errors), system_error) !=
         std::end(broken_pipe_errors);
}

}  // namespace luling::windows_rules
