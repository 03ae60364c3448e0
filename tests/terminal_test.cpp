// The calculator on a pseudo-terminal, played by the test as its user: the
// clear sequence, text converted for the terminal, one key taken whole, and
// the terminal's settings kept whatever happens during the wait.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <string>
#include <thread>

#include "console/texts.h"
#include "tests/gbk.h"
#include "tests/process.h"

namespace {

using namespace luling;
using namespace luling::testing;

// ESC [ H, ESC [ 2 J, ESC [ 3 J: home, erase screen, erase scrollback.
const std::string clear_sequence = "\x1b[H\x1b[2J\x1b[3J";
const std::string arrow_up = "\x1b[A";
const std::string ctrl_z = "\x1a";


const environment utf8_terminal = {"TERM=xterm", "LANG=C.UTF-8"};

bool exited_with(int status, int code) { return WIFEXITED(status) && WEXITSTATUS(status) == code; }

TEST(terminal, clears_with_escape_sequences_unless_the_terminal_is_dumb) {
  const struct {
    environment env;
    std::string clear;
  } cases[] = {
      {{"TERM=xterm", "LANG=C.UTF-8"}, clear_sequence},
      {{"TERM=dumb", "LANG=C.UTF-8"}, "\f"},
      {{"TERM=", "LANG=C.UTF-8"}, "\f"},
      {{"LANG=C.UTF-8"}, "\f"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.env.front());
    terminal_session user(calculator(), c.env);
    ASSERT_TRUE(user.expect(gbk_to_utf8(input_warning)));
    EXPECT_EQ(user.screen(), c.clear + gbk_to_utf8(banner) + "\r\n" + gbk_to_utf8(menu_title) + "\r\n" + gbk_to_utf8(menu_codes) +
                                 "\r\n" + gbk_to_utf8(input_warning));
  }
}

TEST(terminal, shows_texts_in_the_terminals_encoding) {
  const struct {
    environment env;
    std::string banner;
  } cases[] = {
      {{"TERM=xterm", "LANG=C.UTF-8"}, gbk_to_utf8(banner)},
      {{"TERM=xterm", "LC_ALL=C.UTF-8", "LANG=zh_CN.GBK"}, gbk_to_utf8(banner)},
      {{"TERM=xterm", "LANG=C"}, gbk_to_utf8(banner)},         // no encoding named: UTF-8 assumed
      {{"TERM=xterm"}, gbk_to_utf8(banner)},
      {{"TERM=xterm", "LANG=zh_CN.GBK"}, std::string(banner)},  // named by a locale, installed or not
      {{"TERM=xterm", "LC_CTYPE=zh_CN.gb18030"}, std::string(banner)},
      {{"TERM=xterm", "LC_ALL=", "LANG=zh_CN.euc-cn@stroke"}, std::string(banner)},
      {{"TERM=xterm", "LANG=GBK"}, gbk_to_utf8(banner)},  // a name without a dot names no codeset
      {{"TERM=xterm", "LANG=zh_CN.NO-SUCH-CODESET"}, gbk_to_utf8(banner)},  // unknown to iconv: UTF-8
      {{"TERM=xterm", "LANG=zh_CN.UTF-16"}, gbk_to_utf8(banner)},  // not ASCII's bytes: UTF-8
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.env.back());
    terminal_session user(calculator(), c.env);
    EXPECT_TRUE(user.expect(c.banner + "\r\n"));
  }
}

TEST(terminal, one_key_ends_the_wait_and_the_settings_come_back) {
  terminal_session user(calculator(), utf8_terminal);
  ASSERT_TRUE(user.expect(gbk_to_utf8(input_warning)));
  const termios before = user.settings();

  user.type("1\n2\n3\n");
  ASSERT_TRUE(user.expect(gbk_to_utf8(pause_prompt)));
  const termios during = user.settings();
  EXPECT_EQ(during.c_lflag & (ICANON | ECHO), 0u) << "waits in non-canonical mode without echo";

  user.type("x");
  ASSERT_TRUE(user.expect(gbk_to_utf8(prompt_minuend)));  // the first addend was 2
  EXPECT_TRUE(same_settings(user.settings(), before));
  EXPECT_EQ(user.screen().find("x"), std::string::npos) << "the key is not echoed";
}

TEST(terminal, takes_a_whole_key_press_and_leaves_nothing_for_the_next_read) {
  const struct {
    const char* name;
    std::string key;
    bool gbk;  // typed at a GBK terminal, which shows the texts' own bytes
    std::string rest = {};  // the rest of the key, arriving 5 ms later
  } cases[] = {
      {"arrow up", arrow_up, false},
      {"F1 as an SS3 sequence", "\x1bOP", false},
      {"an escape sequence split across two reads", "\x1b", false, "[A"},
      {"a phrase committed by an input method", "\xE4\xBD\xA0\xE5\xA5\xBD", false},
      {"the same phrase on a GBK terminal", "\xC4\xE3\xBA\xC3", true},
      {"alt and a chinese character", "\x1b\xE4\xBD\xA0", false},
      {"a pasted line", "12 30\n", false},
      {"a paste in two pieces", std::string(1024, 'x'), false, "\n1\n100\n200\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto shown = [&](text t) { return c.gbk ? std::string(t) : gbk_to_utf8(t); };
    terminal_session user(calculator(), c.gbk ? environment{"TERM=xterm", "LANG=zh_CN.GBK"} : utf8_terminal);
    ASSERT_TRUE(user.expect(shown(input_warning)));
    user.type("1\n5\n5\n");
    ASSERT_TRUE(user.expect(shown(pause_prompt)));
    const std::size_t waited = user.screen().size();
    user.type(c.key);
    if (!c.rest.empty()) {
      std::this_thread::sleep_for(milliseconds(5));
      user.type(c.rest);
    }
    ASSERT_TRUE(user.expect(shown(input_warning)));
    user.type("4\n");
    ASSERT_TRUE(user.expect(shown(prompt_factor_1)));
    // Nothing of the key was read as input: one menu, no answer, no result.
    const std::string after = user.screen().substr(waited);
    EXPECT_EQ(after.find(shown(input_warning)), after.rfind(shown(input_warning)));
    EXPECT_EQ(after.find(shown(invalid_input)), std::string::npos);
    EXPECT_EQ(after.find(shown(result_label)), std::string::npos);
  }
}

TEST(terminal, keeps_numbers_typed_ahead_on_the_same_line) {
  terminal_session user(calculator(), utf8_terminal);
  ASSERT_TRUE(user.expect(gbk_to_utf8(input_warning)));
  user.type("1 2 3 4\n");
  ASSERT_TRUE(user.expect(gbk_to_utf8(pause_prompt)));
  user.type(" ");
  // The 4 left on the line is the minuend: the next prompt follows unasked.
  EXPECT_TRUE(user.expect(gbk_to_utf8(prompt_subtrahend)));
}

TEST(terminal, restores_the_settings_when_ended_during_the_wait) {
  const struct {
    const char* name;
    int signal_number;
    bool typed;  // sent by the terminal's interrupt key rather than kill
    bool ignored = false;  // ignored when the program started: it waits on
  } cases[] = {
      {"Ctrl-C", SIGINT, true},
      {"SIGTERM", SIGTERM, false},
      {"SIGHUP", SIGHUP, false},
      {"SIGQUIT", SIGQUIT, false},
      {"SIGPIPE", SIGPIPE, false},
      {"SIGUSR1", SIGUSR1, false},
      {"SIGALRM", SIGALRM, false},
      {"SIGXFSZ (a file-size limit)", SIGXFSZ, false},
      {"SIGABRT", SIGABRT, false},
      {"a real-time signal", SIGRTMIN + 1, false},
      {"SIGHUP ignored, as under nohup", SIGHUP, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const command ignoring = {"/bin/sh", "-c", "trap '' " + std::to_string(c.signal_number) + "; exec \"$0\"", LULING_CALC_PATH};
    terminal_session user(c.ignored ? ignoring : calculator(), utf8_terminal);
    ASSERT_TRUE(user.expect(gbk_to_utf8(input_warning)));
    const termios before = user.settings();
    user.type("1\n1\n1\n");
    ASSERT_TRUE(user.expect(gbk_to_utf8(pause_prompt)));
    if (c.typed) {
      user.type("\x03");
    } else {
      user.send_signal(c.signal_number);
    }
    if (c.ignored) {
      user.type("x");
      EXPECT_TRUE(user.expect(gbk_to_utf8(input_warning))) << "the wait went on";
      EXPECT_TRUE(same_settings(user.settings(), before));
      continue;
    }
    const int status = user.wait();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal_number) << "status " << status;
    EXPECT_TRUE(same_settings(user.settings(), before));
  }
}

TEST(terminal, gives_the_terminal_back_while_suspended_and_waits_on_when_continued) {
  terminal_session user(calculator(), utf8_terminal, {.as_job = true});
  ASSERT_TRUE(user.expect(gbk_to_utf8(input_warning)));
  const termios before = user.settings();
  user.type("1\n1\n1\n");
  ASSERT_TRUE(user.expect(gbk_to_utf8(pause_prompt)));
  const pid_t job = user.foreground_group();
  for (int time = 1; time <= 2; ++time) {
    SCOPED_TRACE("Ctrl-Z number " + std::to_string(time));
    user.type(ctrl_z);
    ASSERT_TRUE(wait_until([&] { return same_settings(user.settings(), before); }))
        << "the user's settings while the program is stopped";
    kill(-job, SIGCONT);
    ASSERT_TRUE(wait_until([&] { return (user.settings().c_lflag & ICANON) == 0; }))
        << "the wait's settings once continued";
  }
  user.type("x");
  EXPECT_TRUE(user.expect(gbk_to_utf8(input_warning)));
  EXPECT_TRUE(same_settings(user.settings(), before));
}

TEST(terminal, waits_for_a_line_on_a_terminal_it_does_not_control) {
  // Under setsid no interrupt key reaches the program: its settings stay.
  terminal_session user({"/usr/bin/setsid", "-w", LULING_CALC_PATH}, utf8_terminal);
  ASSERT_TRUE(user.expect(gbk_to_utf8(input_warning)));
  const termios before = user.settings();
  user.type("1\n1\n1\n");
  ASSERT_TRUE(user.expect(gbk_to_utf8(pause_prompt)));
  user.type("x");
  EXPECT_FALSE(user.expect(gbk_to_utf8(input_warning), milliseconds(300))) << "a key alone does not end the wait";
  EXPECT_TRUE(same_settings(user.settings(), before));
  user.type("\n");
  EXPECT_TRUE(user.expect(gbk_to_utf8(input_warning)));
}

TEST(terminal, keeps_every_screen_and_answers_on_lines_of_their_own_when_input_is_not_interactive) {
  terminal_session user({"/bin/sh", "-c", "printf 'x\\n1\\n12\\n30\\n' | exec \"$0\"", LULING_CALC_PATH}, utf8_terminal);
  EXPECT_TRUE(exited_with(user.wait(), 0));
  while (user.expect("\n", milliseconds(100))) {
  }
  const std::string screens = gbk_to_utf8(banner) + "\r\n" + gbk_to_utf8(menu_title) + "\r\n" +
                              gbk_to_utf8(menu_codes) + "\r\n" + gbk_to_utf8(input_warning) + "\r\n" +
                              gbk_to_utf8(invalid_input) + "\r\n" + gbk_to_utf8(banner) + "\r\n" + gbk_to_utf8(prompt_addend_1) + "\r\n" +
                              gbk_to_utf8(prompt_addend_2) + "\r\n" + gbk_to_utf8(result_label) + "42\r\n" +
                              gbk_to_utf8(pause_prompt) + "\r\n" + gbk_to_utf8(banner);
  EXPECT_EQ(user.screen().find(screens), 0u) << user.screen();
  EXPECT_EQ(user.screen().find_first_of("\x1b\f"), std::string::npos) << "nothing clears the screen";
}

TEST(terminal, answers_bad_input_on_the_next_line) {
  terminal_session user(calculator(), utf8_terminal);
  ASSERT_TRUE(user.expect(gbk_to_utf8(input_warning)));
  user.type("abc\n");
  // The echo of Enter ended the line; the answer follows it directly.
  EXPECT_TRUE(user.expect("abc\r\n" + gbk_to_utf8(invalid_input) + "\r\n"));
}

}  // namespace
