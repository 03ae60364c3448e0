// The console's policy, decided here once for every platform: when the
// screen is cleared, when and how a key is waited for, and what ends the
// process. The platform's half (os.h) offers only facts and primitives.
#include "console/console.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "console/os.h"
#include "console/output.h"
#include "console/reader.h"

namespace luling {
namespace {

// Form feed: what clearing the screen leaves in a pipe or a file.
constexpr text form_feed = "\f";
// The program's name, as its messages begin.
constexpr std::string_view program_name = "luling-calc";

// Tells on standard error why `what` failed, and ends the process with
// status 1.
[[noreturn]] void fail(os::standard_streams& streams, std::string_view what) {
  streams.report(std::string(program_name) + ": " + std::string(what) + ": " + streams.failure_reason());
  std::_Exit(EXIT_FAILURE);
}

[[noreturn]] void fail_to_write(os::standard_streams& streams) { fail(streams, "cannot write standard output"); }

// Standard output under the output buffer: writes that fail end the process.
class checked_output final : public byte_sink {
 public:
  explicit checked_output(os::standard_streams& streams) : streams_(streams) {}
  void write(const char* data, std::size_t size) override {
    if (!streams_.write(std::string_view(data, size))) fail_to_write(streams_);
  }

 private:
  os::standard_streams& streams_;
};

// The standard streams with the output buffer and the input reader over
// them; made on first use and kept for the life of the process.
struct session {
  os::standard_streams streams;
  checked_output sink{streams};
  output out{sink};
  reader in{streams};
};

session& console() {
  static session s;
  return s;
}

// Ends the line the cursor is on, if it is not at the start of one.
void finish_line(output& out) {
  if (!out.at_line_start()) out.line_end();
}

}  // namespace

void clear_screen() {
  session& s = console();
  if (!s.streams.output_interactive()) {
    s.out.write(form_feed);
  } else if (s.streams.input_interactive()) {
    s.out.flush();
    if (!s.streams.clear_terminal()) fail_to_write(s.streams);
  } else {
    // Nothing waits for a key, so a clear would wipe each result before it
    // could be read: the screens follow one another instead.
    finish_line(s.out);
  }
}

void wait_for_key() {
  session& s = console();
  if (!s.streams.input_interactive()) {
    // Nobody could press a key: the prompt shows where the wait would be.
    write_line(pause_prompt);
    return;
  }
  s.out.flush();
  if (!s.streams.wait_for_key(pause_prompt)) fail_to_write(s.streams);
}

void write_line(text t) {
  output& out = console().out;
  out.write(t);
  out.line_end();
}

void write_text(text t) { console().out.write(t); }

void write_number(std::int32_t value) { console().out.write_number(value); }

void end_line() { console().out.line_end(); }

void read_integer(std::int32_t& value) {
  session& s = console();
  for (;;) {
    s.out.flush();
    switch (s.in.read(value)) {
      case read_status::number:
        return;
      case read_status::invalid:
        write_line(invalid_input);
        break;
      case read_status::outside_range:
        write_line(out_of_range);
        break;
      case read_status::end:
        finish_line(s.out);
        std::exit(EXIT_SUCCESS);
      case read_status::failed:
        finish_line(s.out);
        fail(s.streams, "cannot read standard input");
    }
  }
}

}  // namespace luling
