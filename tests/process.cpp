#include "tests/process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace luling::testing {
namespace {

using clock = std::chrono::steady_clock;

// Pointers to the strings' characters, ending in a null pointer.
std::vector<char*> c_strings(const std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (const std::string& s : strings) pointers.push_back(const_cast<char*>(s.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

[[noreturn]] void exec_child(const command& program, const environment& env) {
  signal(SIGPIPE, SIG_DFL);  // as a shell starts programs, whatever the test ignores
  const rlimit no_core{0, 0};  // signals that dump core leave no file behind
  setrlimit(RLIMIT_CORE, &no_core);
  std::vector<char*> argv = c_strings(program);
  std::vector<char*> envp = c_strings(env);
  execve(argv[0], argv.data(), envp.data());
  _exit(127);
}

int remaining_ms(clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<milliseconds>(deadline - clock::now()).count();
  return static_cast<int>(std::max<long long>(left, 0));
}

// Waits for `pid` until the deadline; kills it after that.
int reap(pid_t pid, clock::time_point deadline, bool& timed_out) {
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return status;
    if (done < 0 && errno != EINTR) return -1;
    if (clock::now() >= deadline) break;
    usleep(1000);
  }
  timed_out = true;
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return status;
}

// Runs the program as a shell with job control would: in a process group of
// its own in the terminal's foreground, so that Ctrl-Z stops it. Ends with
// the program's exit status.
[[noreturn]] void run_as_job(const command& program, const environment& env) {
  const pid_t job = fork();
  if (job == 0) {
    setpgid(0, 0);
    signal(SIGTTOU, SIG_IGN);
    tcsetpgrp(STDIN_FILENO, getpgrp());
    signal(SIGTTOU, SIG_DFL);
    exec_child(program, env);
  }
  int status = 0;
  while (job > 0 && waitpid(job, &status, 0) < 0 && errno == EINTR) {
  }
  _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
}

// The peak resident memory of the running process `pid` since its exec, in
// KiB (VmHWM), or 0 once it has gone. Unlike the rusage of a forked child it
// does not count what the child shared with its parent before the exec.
long peak_memory_kib(pid_t pid) {
  std::FILE* status = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
  if (status == nullptr) return 0;
  char line[256];
  long kib = 0;
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1) break;
  }
  std::fclose(status);
  return kib;
}

}  // namespace

command calculator() { return {LULING_CALC_PATH}; }

piped_run run_piped(const command& program, std::string_view input, const environment& env,
                    milliseconds timeout) {
  int in[2];
  int out[2];
  int exec_done[2];  // closes on exec, so that memory is sampled only after it
  if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(exec_done, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe");
  }
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork");
  if (pid == 0) {
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    exec_child(program, env);
  }
  close(in[0]);
  close(out[1]);
  close(exec_done[1]);
  char ignored;
  while (read(exec_done[0], &ignored, 1) < 0 && errno == EINTR) {
  }
  close(exec_done[0]);
  fcntl(in[1], F_SETFL, O_NONBLOCK);
  signal(SIGPIPE, SIG_IGN);  // the child may end before taking all input

  piped_run run;
  const auto deadline = clock::now() + timeout;
  std::size_t sent = 0;
  auto input_end = clock::now();
  if (input.empty()) close(std::exchange(in[1], -1));
  for (bool open = true; open;) {
    run.peak_kib = std::max(run.peak_kib, peak_memory_kib(pid));
    pollfd fds[2] = {{out[0], POLLIN, 0}, {in[1], POLLOUT, 0}};
    const int ready = poll(fds, in[1] >= 0 ? 2 : 1, remaining_ms(deadline));
    if (ready == 0) break;
    if (ready < 0) continue;
    if (fds[0].revents != 0) {
      char buffer[65536];
      const ssize_t n = read(out[0], buffer, sizeof buffer);
      if (n > 0) run.output.append(buffer, static_cast<std::size_t>(n));
      open = n > 0 || (n < 0 && errno == EINTR);
    }
    if (in[1] >= 0 && fds[1].revents != 0) {
      const ssize_t n = write(in[1], input.data() + sent, input.size() - sent);
      if (n > 0) sent += static_cast<std::size_t>(n);
      if ((n < 0 && errno == EPIPE) || sent == input.size()) {
        close(std::exchange(in[1], -1));
        input_end = clock::now();
      }
    }
  }
  if (in[1] >= 0) close(in[1]);
  close(out[0]);
  run.status = reap(pid, deadline, run.timed_out);
  run.after_input = std::chrono::duration_cast<milliseconds>(clock::now() - input_end);
  return run;
}

terminal_session::terminal_session(const command& program, const environment& env, session_start start) {
  winsize size{};
  size.ws_row = 25;
  size.ws_col = 80;
  pid_ = forkpty(&master_, nullptr, nullptr, &size);
  if (pid_ < 0) throw std::runtime_error("forkpty");
  if (pid_ == 0) {
    if (!start.suspend_key) {
      termios settings{};
      tcgetattr(STDIN_FILENO, &settings);
      settings.c_cc[VSUSP] = _POSIX_VDISABLE;
      tcsetattr(STDIN_FILENO, TCSANOW, &settings);
    }
    if (start.as_job) run_as_job(program, env);
    exec_child(program, env);
  }
}

pid_t terminal_session::foreground_group() const { return tcgetpgrp(master_); }

terminal_session::~terminal_session() {
  if (pid_ > 0) {
    // Asked to end before it is killed, so that a coverage build writes its
    // counters; continued, in case it is stopped.
    kill(pid_, SIGTERM);
    kill(pid_, SIGCONT);
    bool timed_out = false;
    reap(pid_, clock::now() + milliseconds(2000), timed_out);
  }
  close(master_);
}

void terminal_session::type(std::string_view keys) {
  while (!keys.empty()) {
    const ssize_t n = write(master_, keys.data(), keys.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw std::runtime_error("write to terminal");
    keys.remove_prefix(static_cast<std::size_t>(n));
  }
}

bool terminal_session::read_some(milliseconds timeout) {
  pollfd p{master_, POLLIN, 0};
  if (poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return false;
  char buffer[4096];
  const ssize_t n = read(master_, buffer, sizeof buffer);
  if (n <= 0) return false;  // EIO once the program has closed the terminal
  seen_.append(buffer, static_cast<std::size_t>(n));
  return true;
}

bool terminal_session::expect(std::string_view wanted, milliseconds timeout) {
  const auto deadline = clock::now() + timeout;
  for (;;) {
    const std::size_t at = seen_.find(wanted, matched_);
    if (at != std::string::npos) {
      matched_ = at + wanted.size();
      return true;
    }
    if (!read_some(milliseconds(remaining_ms(deadline)))) return false;
  }
}

termios terminal_session::settings() const {
  termios t{};
  if (tcgetattr(master_, &t) != 0) throw std::runtime_error("tcgetattr");
  return t;
}

void terminal_session::send_signal(int signal_number) { kill(pid_, signal_number); }

int terminal_session::wait(milliseconds timeout) {
  bool timed_out = false;
  const int status = reap(pid_, clock::now() + timeout, timed_out);
  pid_ = -1;
  return timed_out ? -1 : status;
}

bool same_settings(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::equal(std::begin(a.c_cc), std::end(a.c_cc), std::begin(b.c_cc));
}

}  // namespace luling::testing
