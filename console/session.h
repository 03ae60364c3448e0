// The console's policy, decided here once for every platform: when the
// screen is cleared and what separates screens, whether and how a key is
// waited for, where answers to bad input go, and what ends the process. It
// decides from the platform's facts and acts through its primitives
// (os::streams), so that a test can run it over stand-ins.
#pragma once

#include <cstdint>
#include <string_view>

#include "console/os.h"
#include "console/output.h"
#include "console/reader.h"
#include "console/texts.h"

namespace luling {

// The primitives of console.h over one set of streams.
class session {
 public:
  explicit session(os::streams& streams) : streams_(streams) {}
  session(const session&) = delete;
  session& operator=(const session&) = delete;

  void clear_screen();
  void wait_for_key();
  void write_line(text t);
  void write_text(text t) { out_.write(t); }
  void write_number(std::int32_t value) { out_.write_number(value); }
  void end_line() { out_.line_end(); }
  void read_integer(std::int32_t& value);

 private:
  // Standard output under the output buffer: a write that fails ends the
  // process.
  class checked_output final : public byte_sink {
   public:
    explicit checked_output(session& owner) : owner_(owner) {}
    void write(const char* data, std::size_t size) override;

   private:
    session& owner_;
  };

  // Tells on standard error why `what` failed, and ends with status 1.
  [[noreturn]] void fail(std::string_view what);
  [[noreturn]] void end(int status);
  // Ends the line the cursor is on, if it is not at the start of one.
  void finish_line();
  // Answers input that is not a number in range.
  void answer(text t);

  os::streams& streams_;
  checked_output sink_{*this};
  output out_{sink_};
  reader in_{streams_};
};

}  // namespace luling
