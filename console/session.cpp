#include "console/session.h"

#include <cstdlib>
#include <string>

namespace luling {
namespace {

// Form feed: what clearing the screen leaves in a pipe, a file or on a dumb
// terminal.
constexpr text form_feed = "\f";
// The program's name, as its messages begin.
constexpr std::string_view program_name = "luling-calc";
// What failed when a write, a clear or the wait's prompt could not be written.
constexpr std::string_view cannot_write = "cannot write standard output";

}  // namespace

void session::checked_output::write(const char* data, std::size_t size) {
  if (!owner_.streams_.write(std::string_view(data, size))) owner_.fail(cannot_write);
}

void session::fail(std::string_view what) {
  streams_.write_error(std::string(program_name) + ": " + std::string(what) + ": " + streams_.failure_reason() + "\n");
  end(EXIT_FAILURE);
}

void session::end(int status) {
  streams_.end(status);
  std::abort();  // the compiler cannot see that a virtual end never returns
}

void session::finish_line() {
  if (!out_.at_line_start()) out_.line_end();
}

void session::clear_screen() {
  if (!streams_.output_interactive()) {
    out_.write(form_feed);
  } else if (!streams_.input_interactive()) {
    // Nothing waits for a key, so a clear would wipe each result before it
    // could be read: the screens follow one another instead.
    finish_line();
  } else if (streams_.can_clear()) {
    out_.flush();
    if (!streams_.clear_terminal()) fail(cannot_write);
  } else {
    out_.write(form_feed);
  }
}

void session::wait_for_key() {
  if (!streams_.input_interactive()) {
    // Nobody could press a key: the prompt shows where the wait would be.
    write_line(pause_prompt);
    return;
  }
  out_.flush();
  if (!streams_.wait_for_key(pause_prompt)) fail(cannot_write);
}

void session::write_line(text t) {
  out_.write(t);
  out_.line_end();
}

void session::answer(text t) {
  // Typed input ends its line with the echo of Enter; input from a pipe or
  // a file shown on a terminal does not, so there the answer starts a line
  // of its own. A pipe or a file gets the bytes alone.
  if (!streams_.input_interactive() && streams_.output_interactive()) finish_line();
  write_line(t);
}

void session::read_integer(std::int32_t& value) {
  for (;;) {
    out_.flush();
    switch (in_.read(value)) {
      case read_status::number:
        return;
      case read_status::invalid:
        answer(invalid_input);
        break;
      case read_status::outside_range:
        answer(out_of_range);
        break;
      case read_status::end:
        finish_line();
        end(EXIT_SUCCESS);
      case read_status::failed:
        finish_line();
        fail("cannot read standard input");
    }
  }
}

}  // namespace luling
