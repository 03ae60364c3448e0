// The output buffer: decimal numbers, and what reaches the sink when.
#include "console/output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records each hand-over separately.
class recording_sink final : public luling::byte_sink {
 public:
  void write(const char* data, std::size_t size) override { writes.emplace_back(data, size); }
  std::vector<std::string> writes;
};

TEST(output, writes_numbers_in_plain_decimal) {
  const struct {
    std::int32_t value;
    const char* text;
  } cases[] = {
      {0, "0"}, {7, "7"}, {-7, "-7"}, {42, "42"}, {1000000, "1000000"},
      {2147483647, "2147483647"}, {-2147483647 - 1, "-2147483648"},
  };
  for (const auto& c : cases) {
    recording_sink sink;
    luling::output out(sink);
    out.write_number(c.value);
    out.flush();
    EXPECT_EQ(sink.writes, std::vector<std::string>{c.text}) << c.value;
  }
}

TEST(output, hands_over_at_each_line_end_and_flush_only) {
  recording_sink sink;
  luling::output out(sink);
  out.write("result ");
  out.write_number(-3);
  EXPECT_TRUE(sink.writes.empty());
  out.line_end();
  out.write("prompt");
  out.flush();
  out.flush();  // nothing new: no empty write
  EXPECT_EQ(sink.writes, (std::vector<std::string>{"result -3\n", "prompt"}));
}

TEST(output, never_splits_a_text_when_the_buffer_fills) {
  recording_sink sink;
  luling::output out(sink);
  const std::string piece(1000, 'x');
  for (int i = 0; i < 5; ++i) out.write(piece);
  out.flush();
  ASSERT_EQ(sink.writes.size(), 2u);
  EXPECT_EQ(sink.writes[0].size() % piece.size(), 0u);
  EXPECT_EQ(sink.writes[0].size() + sink.writes[1].size(), 5 * piece.size());
  // A full buffer is handed over before its line end; nothing adds nothing.
  out.write(std::string(4096, 'z'));
  out.write("");
  out.line_end();
  ASSERT_GE(sink.writes.size(), 2u);
  EXPECT_EQ(sink.writes[sink.writes.size() - 2], std::string(4096, 'z'));
  EXPECT_EQ(sink.writes.back(), "\n");
}

}  // namespace
