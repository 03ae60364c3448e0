// The POSIX platform file built over stand-ins of the system calls, which
// answer as a script says: interrupted calls, full pipes, short writes,
// writes of nothing and failures, through writing, reading and the wait.
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <string>

namespace fake {
ssize_t read(int fd, void* buffer, std::size_t size);
ssize_t write(int fd, const void* data, std::size_t size);
int poll(pollfd* fds, nfds_t count, int timeout_ms);
int tcgetattr(int fd, termios* settings);
int tcsetattr(int fd, int when, const termios* settings);
int isatty(int fd);
pid_t tcgetsid(int fd);
}  // namespace fake

#define LULING_SYSTEM(call) fake::call
#include "console/os_posix.cpp"

#include <gtest/gtest.h>

namespace fake {

// One call's answer: its result, errno when it fails, the bytes a read gets.
struct answer {
  std::string call;
  long result;
  int error = 0;
  std::string bytes = {};
};
std::deque<answer> script;  // answers not yet given, in order
std::string output;         // what writes took
termios terminal{};         // the terminal's settings

// The next answer, if the script has one for `call`.
bool next(const char* call, answer& a) {
  if (script.empty() || script.front().call != call) return false;
  a = script.front();
  script.pop_front();
  errno = a.error;
  return true;
}

ssize_t read(int, void* buffer, std::size_t) {
  answer a;
  if (!next("read", a)) return 0;
  a.bytes.copy(static_cast<char*>(buffer), a.bytes.size());
  return a.result;
}
ssize_t write(int, const void* data, std::size_t size) {
  answer a;
  const long n = next("write", a) ? a.result : static_cast<long>(size);
  if (n > 0) output.append(static_cast<const char*>(data), static_cast<std::size_t>(n));
  return n;
}
int poll(pollfd* fds, nfds_t, int timeout_ms) {
  answer a;
  if (!next("poll", a)) {  // nothing more arrives: a wait without end would hang
    if (timeout_ms < 0) ADD_FAILURE() << "waits for ever for input that never comes";
    return 0;
  }
  fds->revents = a.result > 0 ? fds->events : 0;
  return static_cast<int>(a.result);
}
int tcgetattr(int, termios* settings) {
  answer a;
  if (next("tcgetattr", a)) return static_cast<int>(a.result);
  *settings = terminal;
  return 0;
}
int tcsetattr(int, int, const termios* settings) {
  answer a;
  if (next("tcsetattr", a)) return static_cast<int>(a.result);
  terminal = *settings;
  return 0;
}
int isatty(int fd) { return fd == STDIN_FILENO; }  // a terminal's keys, output into a pipe
pid_t tcgetsid(int) {  // this process's terminal, unless the script says not
  answer a;
  return next("tcgetsid", a) ? static_cast<pid_t>(a.result) : ::getsid(0);
}

}  // namespace fake

namespace {

enum class operation { write, read, wait };

TEST(os, finishes_retries_and_reports_system_calls_as_they_answer) {
  const tcflag_t typing = ICANON | ECHO;
  const struct {
    const char* name;
    operation op;
    std::deque<fake::answer> script;
    long result;  // of the operation: true or false, or what a read returned
    std::string output;
    std::string reason = "Success";
  } cases[] = {
      {"a write cut short is finished", operation::write, {{"write", 2}, {"write", 1}}, true, "hello"},
      {"an interrupted write is made again", operation::write, {{"write", -1, EINTR}}, true, "hello"},
      {"a full non-blocking pipe is waited on", operation::write, {{"write", -1, EAGAIN}, {"poll", -1, EINTR}, {"poll", 1}}, true, "hello"},
      {"a write that takes nothing fails", operation::write, {{"write", 0}}, false, "", "Input/output error"},
      {"a write that fails", operation::write, {{"write", -1, ENOSPC}}, false, "", "No space left on device"},
      {"an interrupted read is made again", operation::read, {{"read", -1, EINTR}, {"read", 2, 0, "5\n"}}, 2, ""},
      {"empty non-blocking input is waited on", operation::read, {{"read", -1, EAGAIN}, {"poll", 1}, {"read", 1, 0, "5"}}, 1, ""},
      {"a read that fails", operation::read, {{"read", -1, EIO}}, -1, "", "Input/output error"},
      {"a key", operation::wait, {{"poll", 1}, {"read", 1, 0, "x"}}, true, "?\n"},
      {"an interrupted wait waits on", operation::wait, {{"poll", -1, EINTR}, {"poll", 1}, {"read", 1, 0, "x"}}, true, "?\n"},
      {"an escape sequence split in two", operation::wait, {{"poll", 1}, {"read", 1, 0, "\x1b"}, {"poll", 1}, {"read", 2, 0, "OP"}}, true, "?\n"},
      {"input ends during the wait", operation::wait, {{"poll", 1}, {"read", 0}}, true, "?\n"},
      {"an interrupted read during the wait", operation::wait, {{"poll", 1}, {"read", -1, EINTR}, {"poll", 1}, {"read", 1, 0, "x"}}, true, "?\n"},
      {"a read that fails during the wait", operation::wait, {{"poll", 1}, {"read", -1, EIO}}, true, "?\n"},
      {"a poll that fails during the wait", operation::wait, {{"poll", -1, EBADF}}, true, "?\n"},
      {"settings that cannot be set", operation::wait, {{"tcsetattr", -1, EIO}}, true, "?\n"},
      {"another terminal: a line ends the wait", operation::wait, {{"tcgetsid", -1}, {"poll", 1}, {"read", 1, 0, "x"}, {"poll", 1}, {"read", 1, 0, "\n"}}, true, "?"},
      {"another terminal: input ends", operation::wait, {{"tcgetsid", -1}, {"poll", 1}, {"read", 0}}, true, "?\n"},
      {"another terminal: the prompt fails", operation::wait, {{"tcgetsid", -1}, {"write", -1, EIO}}, false, "", "Input/output error"},
      {"the prompt cannot be written", operation::wait, {{"write", -1, EIO}}, false, "", "Input/output error"},
      {"the line end cannot be written", operation::wait, {{"write", 1}, {"poll", 1}, {"read", 1, 0, "x"}, {"write", -1, EIO}}, false, "?", "Input/output error"},
      {"settings that cannot be read", operation::wait, {{"tcgetattr", -1, EIO}}, true, "?\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake::script = c.script;
    fake::output.clear();
    fake::terminal = termios{};
    fake::terminal.c_lflag = typing;
    errno = 0;
    luling::os::standard_streams streams;
    char buffer[16];
    long result = 0;
    switch (c.op) {
      case operation::write: result = streams.write("hello"); break;
      case operation::read: result = streams.read(buffer, sizeof buffer); break;
      case operation::wait: result = streams.wait_for_key("?"); break;
    }
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(fake::output, c.output);
    if (c.result <= 0) {
      EXPECT_EQ(streams.failure_reason(), c.reason);
    }
    EXPECT_TRUE(fake::script.empty()) << fake::script.size() << " answers not asked for";
    EXPECT_EQ(fake::terminal.c_lflag, typing) << "the terminal is given back";
  }
}

}  // namespace
