// The console primitives over the process's standard streams: one session,
// made on first use and kept for the life of the process.
#include "console/console.h"

#include "console/os.h"
#include "console/session.h"

namespace luling {
namespace {

// The process's standard streams and the session over them.
struct process_console {
  os::standard_streams streams;
  session over{streams};
};

session& console() {
  static process_console c;
  return c.over;
}

}  // namespace

void clear_screen() { console().clear_screen(); }

void wait_for_key() { console().wait_for_key(); }

void write_line(text t) { console().write_line(t); }

void write_text(text t) { console().write_text(t); }

void write_number(std::int32_t value) { console().write_number(value); }

void end_line() { console().end_line(); }

void read_integer(std::int32_t& value) { console().read_integer(value); }

}  // namespace luling
