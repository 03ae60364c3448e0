// The platform's half of the console: facts about the standard streams and
// the primitives that act on them, one implementation per platform (the
// build picks os_posix.cpp or os_windows.cpp). When to use which primitive
// is decided once, in the portable console (console.cpp).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "console/decoder.h"

namespace luling::os {

// The process's standard input, output and error. Only one should exist at
// a time.
class standard_streams final : public byte_source {
 public:
  standard_streams();
  ~standard_streams();
  standard_streams(const standard_streams&) = delete;
  standard_streams& operator=(const standard_streams&) = delete;

  // True if standard input is a terminal or console that a person types at.
  bool input_interactive() const;
  // True if standard output is a terminal or console that shows the screens.
  bool output_interactive() const;

  // Reads standard input as it comes (byte_source::read).
  std::ptrdiff_t read(char* buffer, std::size_t size) override;
  // Writes GBK text to standard output, converted where the terminal shows
  // another encoding; false if it could not all be written.
  bool write(std::string_view gbk);
  // Blanks the terminal or console; the next output starts at its top-left
  // corner. For interactive output, with everything before it written.
  // False if it could not be written to.
  bool clear_terminal();
  // Shows `prompt` (or the system's own), returns after one key press, and
  // leaves the cursor at the start of a line. For interactive input, with
  // everything before it written. False if the prompt could not be written.
  bool wait_for_key(std::string_view prompt);
  // The system's words for why the last read or write failed.
  std::string failure_reason() const;
  // Writes one line of ASCII to standard error, as far as it can.
  void report(std::string_view line);

 private:
  struct state;
  std::unique_ptr<state> state_;
};

}  // namespace luling::os
