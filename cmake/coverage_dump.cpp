// Linked into the program in the coverage build only (preset "coverage"):
// the counters of a process that a signal ends are written before it ends,
// which the C runtime does only on a normal exit. Calls to raise() in the
// program's own code come here (the linker's --wrap=raise); the signals
// that end a process from outside get a handler of this file unless they
// are ignored from the start.
#include <signal.h>

#include <initializer_list>

extern "C" {
void __gcov_dump();
void __gcov_reset();
int __real_raise(int signal_number);

// Writes the counters so far and starts them again from zero, so that a
// process that goes on (after Ctrl-Z) writes only what follows at its exit.
int __wrap_raise(int signal_number) {
  __gcov_dump();
  __gcov_reset();
  return __real_raise(signal_number);
}

static void dump_and_end(int signal_number) {
  __gcov_dump();
  signal(signal_number, SIG_DFL);
  __real_raise(signal_number);
}

__attribute__((constructor)) static void catch_ending_signals() {
  for (const int signal_number : {SIGHUP, SIGINT, SIGTERM, SIGPIPE}) {
    struct sigaction current {};
    if (sigaction(signal_number, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
      signal(signal_number, dump_and_end);
    }
  }
}
}
