// One screen's cost: a pass of the addition screen with clearing and waiting
// done inside the process, beside the same pass with the clear done by
// spawning clear(1) through std::system, as a program without its own
// terminal layer would. Output goes to /dev/null; input is not a terminal, so
// the wait does not block.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "console/os.h"
#include "console/output.h"
#include "console/texts.h"

namespace {

using namespace luling;

// Writes to /dev/null.
class null_sink final : public byte_sink {
 public:
  null_sink() : fd_(open("/dev/null", O_WRONLY | O_CLOEXEC)) {}
  ~null_sink() { close(fd_); }
  void write(const char* data, std::size_t size) override {
    if (::write(fd_, data, size) < 0) std::abort();
  }

 private:
  int fd_;
};

// The addition screen after its clear: banner, prompts, result, wait.
void rest_of_screen(os::standard_streams& streams, output& out) {
  out.write(banner);
  out.line_end();
  out.write(prompt_addend_1);
  out.line_end();
  out.write(prompt_addend_2);
  out.line_end();
  out.write(result_label);
  out.write_number(42);
  out.line_end();
  streams.wait_for_key(out);
}

void screen_in_process(benchmark::State& state) {
  os::standard_streams streams;
  null_sink sink;
  output out(sink);
  for (auto _ : state) {
    streams.clear_screen(out);
    rest_of_screen(streams, out);
  }
}
BENCHMARK(screen_in_process);

void screen_with_spawned_clear(benchmark::State& state) {
  os::standard_streams streams;
  null_sink sink;
  output out(sink);
  setenv("TERM", "xterm", 1);
  for (auto _ : state) {
    out.flush();
    if (std::system("clear >/dev/null") != 0) state.SkipWithError("clear(1) failed");
    rest_of_screen(streams, out);
  }
}
BENCHMARK(screen_with_spawned_clear);

}  // namespace

BENCHMARK_MAIN();
