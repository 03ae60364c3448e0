// The console's policy over stand-ins for the platform: for each way of
// running (input and output each a terminal or a pipe), what one screen
// writes, when it clears and waits, where answers go, and how it ends.
#include "console/session.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/chunked_source.h"

namespace {

using namespace luling;

struct ended {
  int status;
};

// Facts set by the test; primitives recorded in one log as they are used.
class fake_streams final : public os::streams {
 public:
  fake_streams(bool input_terminal, bool output_terminal, bool can_clear, std::string input, bool fails)
      : input_terminal_(input_terminal), output_terminal_(output_terminal), can_clear_(can_clear),
        input_(input, 1 << 20, fails, input_terminal), primitives_fail_(input.starts_with("!")) {}

  bool input_interactive() const override { return input_terminal_; }
  bool output_interactive() const override { return output_terminal_; }
  bool can_clear() const override { return can_clear_; }
  std::ptrdiff_t read(char* buffer, std::size_t size) override { return input_.read(buffer, size); }
  bool write(std::string_view gbk) override { return (log += gbk, gbk.find("fail") == std::string_view::npos); }
  bool clear_terminal() override { return (log += "[clear]", !primitives_fail_); }
  bool wait_for_key(std::string_view prompt) override {
    return (log += "[wait " + std::string(prompt) + "]", !primitives_fail_);
  }
  std::string failure_reason() const override { return "why"; }
  void write_error(std::string_view bytes) override { log += "[error " + std::string(bytes) + "]"; }
  [[noreturn]] void end(int status) override { throw ended{status}; }

  std::string log;

 private:
  bool input_terminal_, output_terminal_, can_clear_;
  luling::testing::chunked_source input_;
  bool primitives_fail_;  // clearing and waiting, with input that starts with "!"
};

// A menu read, then a result screen and its wait, then reads to the end.
int run_a_screen(session& s) {
  try {
    std::int32_t value = 0;
    s.clear_screen();
    s.write_text("menu>");
    s.read_integer(value);
    s.clear_screen();
    s.write_line(value == 6 ? "fail" : "screen");
    s.write_text("=");
    s.write_number(value);
    s.end_line();
    s.wait_for_key();
    for (;;) s.read_integer(value);
  } catch (const ended& e) {
    return e.status;
  }
}

const std::string invalid = std::string(invalid_input) + "\n";
const std::string pause = std::string(pause_prompt) + "\n";
const std::string wait = "[wait " + std::string(pause_prompt) + "]";
const std::string error = "[error luling-calc: cannot write standard output: why\n]";

TEST(session, clears_waits_and_answers_as_each_way_of_running_needs) {
  const struct {
    const char* name;
    bool input_terminal, output_terminal, can_clear;
    std::string input;
    std::string log;
    int status;
    bool fails = false;  // reading fails after the input
  } cases[] = {
      {"terminal to terminal", true, true, true, "x\n5\n", "[clear]menu>" + invalid + "[clear]screen\n=5\n" + wait, 0},
      {"to a dumb terminal", true, true, false, "x\n5\n", "\fmenu>" + invalid + "\fscreen\n=5\n" + wait, 0},
      {"terminal to pipe", true, false, true, "x\n5\n", "\fmenu>" + invalid + "\fscreen\n=5\n" + wait, 0},
      {"pipe to terminal", false, true, true, "x\n5\n", "menu>\n" + invalid + "screen\n=5\n" + pause, 0},
      {"pipe to pipe", false, false, true, "x\n5\n", "\fmenu>" + invalid + "\fscreen\n=5\n" + pause, 0},
      {"input ends on the menu's line", false, false, true, "", "\fmenu>\n", 0},
      {"input fails", false, false, true, "5\n", "\fmenu>\fscreen\n=5\n" + pause + "[error luling-calc: cannot read standard input: why\n]", 1, true},
      {"output fails", false, false, true, "6\n", "\fmenu>\ffail\n" + error, 1},
      {"clearing fails", true, true, true, "!", "[clear]" + error, 1},
      {"the wait fails", true, true, false, "!\n5\n", "\fmenu>" + invalid + "\fscreen\n=5\n" + wait + error, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake_streams streams(c.input_terminal, c.output_terminal, c.can_clear, c.input, c.fails);
    session s(streams);
    EXPECT_EQ(run_a_screen(s), c.status);
    EXPECT_EQ(streams.log, c.log);
  }
}

}  // namespace
