// The platform's half of the console: one implementation per platform, the
// build picks the file (os_posix.cpp, os_windows.cpp).
#pragma once

#include <cstddef>
#include <memory>

#include "console/output.h"
#include "console/reader.h"

namespace luling::os {

// The process's standard input and output. Input bytes come as typed; output
// bytes (GBK) are converted for display where the terminal needs it. Only
// one should exist at a time.
class standard_streams final : public byte_source, public byte_sink {
 public:
  standard_streams();
  ~standard_streams();
  standard_streams(const standard_streams&) = delete;
  standard_streams& operator=(const standard_streams&) = delete;

  std::size_t read(char* buffer, std::size_t size) override;
  void write(const char* data, std::size_t size) override;

  // Blanks the screen, writing through `out` where that is how it is done.
  void clear_screen(output& out);
  // Shows the wait prompt through `out` and waits for one key press when
  // input is interactive.
  void wait_for_key(output& out);

 private:
  struct state;
  std::unique_ptr<state> state_;
};

}  // namespace luling::os
