// The calculator as a user sees it through pipes: whole transcripts compared
// byte for byte.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <string>

#include "console/texts.h"
#include "tests/process.h"
#include "tests/transcript.h"

namespace {

using namespace luling;
using namespace luling::testing;

constexpr std::int32_t min32 = -2147483647 - 1;
constexpr std::int32_t max32 = 2147483647;

struct transcript_case {
  const char* name;
  std::string input;
  std::string expected;
};

// Screens are spelled out by the helpers of tests/transcript.h: menu() is the
// menu screen up to the cursor, add(x) an addition screen whose result is x,
// and so on; quit is what the end of input adds after the menu's warning.
const transcript_case transcripts[] = {
    {"the typical pass", "1\n12\n30\n", menu() + add(42) + menu() + quit},
    {"empty input", "", menu() + quit},
    {"codes that select nothing", "0\n5\n-1\n258\n", menu() + menu() + menu() + menu() + menu() + quit},
    {"all four screens in one pass", "1\n2\n2\n3\n1\n4\n2\n5\n6\n",
     menu() + add(4) + subtract(2) + divide(2, 0) + multiply(30) + menu() + quit},
    {"an addend of 3 leads to division", "1\n3\n5\n7\n2\n", menu() + add(8) + divide(3, 1) + menu() + quit},
    {"an addend of 4 leads to multiplication", "1\n4\n1\n3\n3\n", menu() + add(5) + multiply(9) + menu() + quit},
    {"an addend of 1 does not repeat the addition", "1\n1\n1\n", menu() + add(2) + menu() + quit},
    {"a minuend of 2 ends the pass", "2\n2\n5\n", menu() + subtract(-3) + menu() + quit},
    {"a minuend of 4 leads to multiplication", "2\n4\n1\n4\n4\n", menu() + subtract(3) + multiply(16) + menu() + quit},
    {"a dividend of 4 leads to multiplication", "3\n4\n0\n5\n6\n", menu() + divide_by_0() + multiply(30) + menu() + quit},
    {"multiplication always ends the pass", "4\n1\n2\n", menu() + multiply(2) + menu() + quit},
    {"several numbers on one line", "1 12 30\n", menu() + add(42) + menu() + quit},
    {"white space and leading zeros", "  +4\n\n007\n-0\n", menu() + multiply(0) + menu() + quit},
    {"a number cut off by the end of input", "1\n12\n30", menu() + add(42) + menu() + quit},
    {"the extremes of each operation", "1\n2147483647\n1\n2\n-2147483648\n1\n",
     menu() + add(min32) + menu() + subtract(max32) + menu() + quit},
    {"products that wrap", "4\n65536\n65536\n4\n3\n-4\n", menu() + multiply(0) + menu() + multiply(-12) + menu() + quit},
    {"division signs", "3\n-7\n2\n3\n7\n-2\n", menu() + divide(-3, -1) + menu() + divide(-3, 1) + menu() + quit},
    {"the smallest value divided by -1", "3\n-2147483648\n-1\n", menu() + divide(min32, 0) + menu() + quit},
    {"a divisor of 0", "3\n7\n0\n", menu() + divide_by_0() + menu() + quit},
    {"full-width digits and signs in UTF-8", "1\n\xEF\xBC\x91\xEF\xBC\x92\n\xEF\xBC\x8B\xEF\xBC\x93\xEF\xBC\x90\n",
     menu() + add(42) + menu() + quit},
    {"full-width digits and signs in GBK", "\xA3\xB3\n\xA3\xAD\xA3\xB7\xA1\xA1\xA3\xB2\n", menu() + divide(-3, -1) + menu() + quit},
    {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" "1\n12\n30\n", menu() + add(42) + menu() + quit},
    {"UTF-16 as Notepad saves it", std::string("\xFF\xFE" "1\0\r\0\n\0" "\x11\xFF\x12\xFF\r\0\n\0" "3\0" "0\0\r\0\n\0", 24),
     menu() + add(42) + menu() + quit},
};

// Input outside what the reader accepts is answered at the read that met it.
const transcript_case bad_input[] = {
    {"letters at the menu", "abc\n1\n12\n30\n", menu() + invalid + add(42) + menu() + quit},
    {"a lone sign and a detached sign", "-\n- 5\n--5\n", menu() + invalid + invalid + invalid},
    {"a number followed by letters", "12abc\n", menu() + menu() + invalid},
    {"chinese characters", "\xC4\xE3\xBA\xC3\n\xE4\xBD\xA0\n", menu() + invalid + invalid},
    {"NUL bytes", std::string("\0\0\n", 3), menu() + invalid},
    {"too large and too small", "2147483648\n-2147483649\n99999999999999999999 1\n",
     menu() + too_large + too_large + too_large},
    {"bad operands are asked for again", "1\nx\n12\n99999999999\n30\n",
     menu() + add_with_errors(invalid, too_large, 42) + menu() + quit},
    {"lines ended by CR alone", "1\rabc\r12\r30\r", menu() + add_with_errors(invalid, "", 42) + menu() + quit},
    {"bad input right before the end", "abc", menu() + invalid},
    {"out of range right before the end", "1\n5\n99999999999", menu() + clear + line(banner) + line(prompt_addend_1) +
                                                                       line(prompt_addend_2) + too_large},
};

void expect_transcript(const transcript_case& c) {
  SCOPED_TRACE(c.name);
  const piped_run run = run_piped(calculator(), c.input);
  EXPECT_FALSE(run.timed_out);
  EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) << "status " << run.status;
  EXPECT_EQ(printable(run.output), printable(c.expected));
}

TEST(calculator, writes_the_screens_of_each_pass_byte_for_byte) {
  for (const transcript_case& c : transcripts) expect_transcript(c);
}

TEST(calculator, answers_bad_input_and_reads_again) {
  for (const transcript_case& c : bad_input) expect_transcript(c);
}

TEST(calculator, reports_input_and_output_that_fail_with_status_1) {
  const struct {
    const char* name;
    std::string shell;  // runs the calculator as "$0", standard error on the pipe
    std::string expected;
  } cases[] = {
      {"a directory as input", "exec \"$0\" < / 2>&1",
       menu() + quit + "luling-calc: cannot read standard input: Is a directory\n"},
      {"a full disk as output", "echo 1 | exec \"$0\" 2>&1 >/dev/full",
       "luling-calc: cannot write standard output: No space left on device\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const piped_run run = run_piped({"/bin/sh", "-c", c.shell, LULING_CALC_PATH}, "");
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 1) << "status " << run.status;
    EXPECT_EQ(printable(run.output), printable(c.expected));
  }
}

TEST(calculator, writes_the_same_bytes_whatever_the_locale_when_output_is_a_pipe) {
  const environment env = {"LANG=C.UTF-8", "LC_ALL=C.UTF-8", "TERM=xterm"};
  const piped_run run = run_piped(calculator(), "1\n12\n30\n", env);
  EXPECT_EQ(printable(run.output), printable(menu() + add(42) + menu() + quit));
}

}  // namespace
