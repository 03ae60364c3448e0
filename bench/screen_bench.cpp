// One screen's cost: a pass of the addition screen with clearing and waiting
// done inside the process, beside the same pass with the clear done by
// spawning clear(1) through std::system, as a program without its own
// terminal layer would. bench/run.py runs it with standard output on
// /dev/null (the figures go to the file --benchmark_out names) and input
// that is not a terminal, so the wait does not block.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "console/console.h"
#include "console/texts.h"

namespace {

using namespace luling;

// The addition screen after its clear: banner, prompts, result, wait.
void rest_of_screen() {
  write_line(banner);
  write_line(prompt_addend_1);
  write_line(prompt_addend_2);
  write_text(result_label);
  write_number(42);
  end_line();
  wait_for_key();
}

void screen_in_process(benchmark::State& state) {
  for (auto _ : state) {
    clear_screen();
    rest_of_screen();
  }
}
BENCHMARK(screen_in_process);

void screen_with_spawned_clear(benchmark::State& state) {
  setenv("TERM", "xterm", 1);
  for (auto _ : state) {
    if (std::system("clear") != 0) state.SkipWithError("clear(1) failed");
    rest_of_screen();
  }
}
BENCHMARK(screen_with_spawned_clear);

}  // namespace

BENCHMARK_MAIN();
