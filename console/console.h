// The console primitives: everything the calculator does with the console
// goes through these.
#pragma once

#include <cstdint>

#include "console/texts.h"

namespace luling {

// Starts a new screen: blanks the console when someone is there to read the
// screens; through a pipe or into a file, a form feed marks the place; with
// input that is not interactive, the screens follow one another.
void clear_screen();
// Shows the wait prompt and returns after one key press (at once when input
// is not interactive).
void wait_for_key();
// Writes the text, a newline, and flushes.
void write_line(text t);
// Writes the text with no line end and no flush.
void write_text(text t);
// Writes the value in decimal, with a minus sign if negative.
void write_number(std::int32_t value);
// Writes a newline and flushes.
void end_line();
// Flushes output, then reads one integer into `value`. Input that is not a
// number in range is answered on screen and read again; at the end of input
// the line is ended and the process exits with status 0. Input or output
// that fails is reported on standard error, with status 1.
void read_integer(std::int32_t& value);

}  // namespace luling
