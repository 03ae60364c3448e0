// The Windows console's rules, checked on every platform: console reads as
// the reader's bytes, and text cut into pieces for writing.
#include "console/windows_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace luling::windows_rules;
using outcome = unit_source::outcome;

// Hands out the reads it was given, in order; then the end of input.
class scripted_console final : public unit_source {
 public:
  struct step {
    outcome what;
    std::wstring units;
  };
  explicit scripted_console(std::vector<step> steps) : steps_(std::move(steps)) {}
  outcome read(wchar_t* units, std::size_t size, std::size_t& got) override {
    if (next_ == steps_.size()) return (got = 0, outcome::units);
    const step& s = steps_[next_++];
    got = std::min(size, s.units.size());
    std::copy_n(s.units.data(), got, units);
    return s.what;
  }

 private:
  std::vector<step> steps_;
  std::size_t next_ = 0;
};

TEST(windows_rules, turn_console_reads_into_the_readers_bytes) {
  const outcome units = outcome::units;
  const struct {
    const char* name;
    std::vector<scripted_console::step> reads;
    std::string bytes;  // all that reading gives before it ends
    bool fails = false;
  } cases[] = {
      {"lines as typed", {{units, L"12\r\n"}, {units, L"30\r\n"}}, "12\r\n30\r\n"},
      {"Ctrl-Z at the start of a line ends the input", {{units, L"1\r\n"}, {units, L"\x1a\r\n"}, {units, L"2\r\n"}}, "1\r\n"},
      {"Ctrl-Z at once ends the input", {{units, L"\x1a\r\n"}}, ""},
      {"Ctrl-Z within a line is data", {{units, L"1\x1a\r\n"}}, "1\x1a\r\n"},
      {"Ctrl-Z after a line cut short is data", {{units, L"12"}, {units, L"\x1a\r\n"}}, "12\x1a\r\n"},
      {"a read aborted by Ctrl-C is made again", {{outcome::aborted, L""}, {units, L"5\r\n"}}, "5\r\n"},
      {"Chinese as UTF-8", {{units, L"\x4f60\xff11\x00e9\r\n"}}, "\xE4\xBD\xA0\xEF\xBC\x91\xC3\xA9\r\n"},
      {"a lone surrogate as U+FFFD", {{units, L"\xdc00\r\n"}}, "\xEF\xBF\xBD\r\n"},
      {"a surrogate pair split between reads", {{units, L"\xd83d"}, {units, L"\xde00\r\n"}}, "\xF0\x9F\x98\x80\r\n"},
      {"a failing read", {{units, L"7\r\n"}, {outcome::failed, L""}}, "7\r\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    scripted_console console(c.reads);
    console_input input(console);
    std::string bytes;
    char buffer[64];
    std::ptrdiff_t n = 0;
    while ((n = input.read(buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<std::size_t>(n));
    EXPECT_EQ(bytes, c.bytes);
    EXPECT_EQ(n, c.fails ? luling::byte_source::failed : 0);
    if (!c.fails) {
      EXPECT_EQ(input.read(buffer, sizeof buffer), 0) << "ended for good";
    }
  }
}

TEST(windows_rules, call_a_closed_pipe_broken_and_let_pause_speak_only_on_the_console) {
  for (const unsigned long error : {109ul, 232ul, 233ul}) EXPECT_TRUE(is_broken_pipe(error)) << error;
  for (const unsigned long error : {0ul, 5ul, 6ul, 87ul, 112ul}) EXPECT_FALSE(is_broken_pipe(error)) << error;
  EXPECT_STREQ(plan_pause(true).command, "pause");
  EXPECT_FALSE(plan_pause(true).own_prompt);
  EXPECT_STREQ(plan_pause(false).command, "pause >nul");
  EXPECT_TRUE(plan_pause(false).own_prompt);
}

TEST(windows_rules, write_everything_in_pieces_and_lines_with_crlf) {
  EXPECT_EQ(with_crlf(L"a\nb\n\n"), L"a\r\nb\r\n\r\n");
  const struct {
    const char* name;
    std::size_t size;
    long long taken_at_most;  // by one call; 0: a call takes nothing
    bool written;
  } cases[] = {
      {"a text larger than a piece", 3 * max_piece + 5, 1 << 20, true},
      {"calls that take less than asked", 1000, 7, true},
      {"a call that takes nothing", 10, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string text(c.size, 'x');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
    std::string sent;
    const bool written = write_in_pieces(text.data(), text.size(), [&](const char* piece, std::size_t n) {
      EXPECT_LE(n, max_piece);
      const auto taken = std::min(static_cast<long long>(n), c.taken_at_most);
      sent.append(piece, static_cast<std::size_t>(taken));
      return taken;
    });
    EXPECT_EQ(written, c.written);
    if (c.written) {
      EXPECT_EQ(sent, text);
    }
  }
}

}  // namespace
