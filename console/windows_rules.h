// The Windows console's decisions, in portable code so that the unit tests
// check them on every platform: how console input becomes the reader's
// bytes, how text is cut into pieces for a write, which system errors mean
// a broken pipe, and how the command interpreter's pause is run.
// os_windows.cpp makes the calls to Windows. UTF-16 units are held in
// wchar_t, as Windows holds them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "console/bytes.h"
#include "console/decoder.h"

namespace luling::windows_rules {

// The most bytes or UTF-16 units handed to one write call.
constexpr std::size_t max_piece = std::size_t{1} << 15;
// The most UTF-16 units one console read takes.
constexpr std::size_t max_read_units = 4096;

// Writes `size` items through `write_piece(data, n)`, which returns how many
// of the n it took, in pieces of at most max_piece; false once a piece
// takes nothing or fails.
template <typename Item, typename Write>
bool write_in_pieces(const Item* data, std::size_t size, Write write_piece) {
  while (size > 0) {
    const long long n = write_piece(data, std::min(size, max_piece));
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Text for the console: each LF becomes CR LF.
std::wstring with_crlf(std::wstring_view text);

// The console's line-edited input, one read at a time.
class unit_source {
 public:
  enum class outcome {
    units,    // `got` units were read; none at the end of input
    aborted,  // the read was cut short by Ctrl-C
    failed,
  };
  virtual outcome read(wchar_t* units, std::size_t size, std::size_t& got) = 0;

 protected:
  ~unit_source() = default;
};

// Console input as UTF-8 for the reader. Ctrl-Z at the start of a line ends
// it; a read that Ctrl-C aborted is made again (the system's own handler of
// Ctrl-C ends the process meanwhile); a surrogate pair split between two
// reads is kept whole.
class console_input final : public byte_source {
 public:
  explicit console_input(unit_source& console) : console_(console) {}

  // As byte_source::read; `size` must be at least utf16_to_utf8::max_bytes.
  std::ptrdiff_t read(char* buffer, std::size_t size) override;

 private:
  unit_source& console_;
  utf16_to_utf8 utf8_;
  bool at_line_start_ = true;
  bool ended_ = false;
};

// True for the system errors of a pipe whose reader has gone: the C runtime
// has no errno for them.
bool is_broken_pipe(unsigned long system_error);

// How the command interpreter's pause waits for a key. On the console it
// shows its own prompt and ends its line; where output goes elsewhere, the
// program writes its own prompt (GBK, as the screens are) and the line end,
// and pause waits without a word.
struct pause_plan {
  const char* command;
  bool own_prompt;
};
constexpr pause_plan plan_pause(bool output_console) {
  return output_console ? pause_plan{"pause", false} : pause_plan{"pause >nul", true};
}

}  // namespace luling::windows_rules
