// The platform's half of the console: the facts about the standard streams
// and the primitives that act on them, through which the portable session
// (session.h) works, and their implementation for this platform (the build
// picks os_posix.cpp or os_windows.cpp). When to use which primitive is
// decided in the session, not here.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "console/bytes.h"

namespace luling::os {

class streams : public byte_source {
 public:
  // True if standard input is a terminal or console that a person types at.
  virtual bool input_interactive() const = 0;
  // True if standard output is a terminal or console that shows the screens.
  virtual bool output_interactive() const = 0;
  // True if clear_terminal can blank the screen (a dumb terminal cannot).
  virtual bool can_clear() const = 0;
  // Writes GBK text to standard output, converted where the terminal shows
  // another encoding; false if it could not all be written.
  virtual bool write(std::string_view gbk) = 0;
  // Blanks the terminal or console; the next output starts at its top-left
  // corner. False if it could not be written to.
  virtual bool clear_terminal() = 0;
  // Shows `prompt` (or the system's own), returns after one key press, and
  // leaves the cursor at the start of a line. False if the prompt could not
  // be written.
  virtual bool wait_for_key(std::string_view prompt) = 0;
  // The system's words for why the last read or write failed.
  virtual std::string failure_reason() const = 0;
  // Writes bytes to standard error, as far as it can: it is the last resort.
  virtual void write_error(std::string_view bytes) = 0;
  // Ends the process with `status`.
  [[noreturn]] virtual void end(int status) = 0;

 protected:
  ~streams() = default;
};

// The process's standard input, output and error. Only one should exist at
// a time.
class standard_streams final : public streams {
 public:
  standard_streams();
  ~standard_streams();
  standard_streams(const standard_streams&) = delete;
  standard_streams& operator=(const standard_streams&) = delete;

  bool input_interactive() const override;
  bool output_interactive() const override;
  bool can_clear() const override;
  // Reads standard input as it comes (byte_source::read).
  std::ptrdiff_t read(char* buffer, std::size_t size) override;
  bool write(std::string_view gbk) override;
  bool clear_terminal() override;
  bool wait_for_key(std::string_view prompt) override;
  std::string failure_reason() const override;
  void write_error(std::string_view bytes) override;
  [[noreturn]] void end(int status) override;

 private:
  struct state;
  std::unique_ptr<state> state_;
};

}  // namespace luling::os
