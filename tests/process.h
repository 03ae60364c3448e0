// Running the real executable from a test: through pipes, or on a
// pseudo-terminal that the test plays the user of.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace luling::testing {

using std::chrono::milliseconds;

// A program and its arguments.
using command = std::vector<std::string>;
// Environment entries "NAME=value" for a child; nothing else is inherited.
using environment = std::vector<std::string>;

// The calculator as built next to the tests.
command calculator();

struct piped_run {
  std::string output;  // everything written to standard output
  int status = -1;     // as from waitpid
  bool timed_out = false;
  long peak_kib = 0;   // the child's peak resident memory, sampled as it runs
  milliseconds after_input{0};  // from the input's end to the child's
};

// Runs `program` with `input` on a pipe as its standard input (closed after
// the last byte) and its standard output on a pipe; kills it after `timeout`.
piped_run run_piped(const command& program, std::string_view input,
                    const environment& env = {}, milliseconds timeout = milliseconds(10000));

// How a terminal session starts its program.
struct session_start {
  // In a process group of its own in the terminal's foreground, as a shell
  // with job control starts it.
  bool as_job = false;
  // With the terminal's suspend key (Ctrl-Z); without it, Ctrl-Z is typed
  // through to the program.
  bool suspend_key = true;
};

// A program running on a pseudo-terminal of 80 by 25 characters, with the
// test as its user.
class terminal_session {
 public:
  terminal_session(const command& program, const environment& env, session_start start = {});
  ~terminal_session();
  terminal_session(const terminal_session&) = delete;
  terminal_session& operator=(const terminal_session&) = delete;

  // Types bytes as the user would.
  void type(std::string_view keys);
  // Reads output until `wanted` has appeared after the last expectation met;
  // false if it does not within `timeout`.
  bool expect(std::string_view wanted, milliseconds timeout = milliseconds(5000));
  // Everything the program has written so far.
  const std::string& screen() const { return seen_; }
  // The terminal's current settings, as the program sees them.
  termios settings() const;
  void send_signal(int signal_number);
  // The terminal's foreground process group.
  pid_t foreground_group() const;
  // Waits for the program to end; its waitpid status, or -1 on time-out.
  int wait(milliseconds timeout = milliseconds(5000));

 private:
  bool read_some(milliseconds timeout);

  int master_ = -1;
  pid_t pid_ = -1;
  std::string seen_;
  std::size_t matched_ = 0;  // where the next expectation starts looking
};

// Polls `condition` every 10 ms for up to `timeout`.
template <typename Condition>
bool wait_until(Condition condition, milliseconds timeout = milliseconds(2000)) {
  for (auto waited = milliseconds(0); waited < timeout; waited += milliseconds(10)) {
    if (condition()) return true;
    std::this_thread::sleep_for(milliseconds(10));
  }
  return condition();
}

// True if two sets of terminal settings are the same in every field.
bool same_settings(const termios& a, const termios& b);

}  // namespace luling::testing
