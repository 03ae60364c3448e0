#include "console/console.h"

#include <cstdlib>

#include "console/os.h"
#include "console/output.h"
#include "console/reader.h"

namespace luling {
namespace {

// The standard streams with the output buffer and the input reader over
// them; made on first use and kept for the life of the process.
struct session {
  os::standard_streams streams;
  output out{streams};
  reader in{streams};
};

session& console() {
  static session s;
  return s;
}

// Everything else is flushed already: every read flushes first.
[[noreturn]] void end_of_input(output& out) {
  if (!out.at_line_start()) out.line_end();
  std::exit(EXIT_SUCCESS);
}

}  // namespace

void clear_screen() {
  session& s = console();
  s.streams.clear_screen(s.out);
}

void wait_for_key() {
  session& s = console();
  s.streams.wait_for_key(s.out);
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
        end_of_input(s.out);
    }
  }
}

}  // namespace luling
