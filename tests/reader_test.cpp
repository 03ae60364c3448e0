// Reading integers from a byte stream: the form, the range, what is dropped
// after bad input, and where each read stops.
#include "console/reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using luling::read_status;

// Hands out its bytes at most `chunk` at a time, as a pipe or terminal may;
// records how far the reader has taken it.
class chunked_source final : public luling::byte_source {
 public:
  chunked_source(std::string bytes, std::size_t chunk) : bytes_(std::move(bytes)), chunk_(chunk) {}

  std::size_t read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min({size, chunk_, bytes_.size() - at_});
    std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }
  std::size_t consumed() const { return at_; }

 private:
  std::string bytes_;
  std::size_t chunk_;
  std::size_t at_ = 0;
};

// One read's outcome: the status, and the value when it is a number.
struct outcome {
  read_status status;
  std::int32_t value = 0;
  bool operator==(const outcome&) const = default;
};

outcome number(std::int32_t v) { return {read_status::number, v}; }
const outcome invalid{read_status::invalid};
const outcome outside{read_status::outside_range};
const outcome end{read_status::end};

std::ostream& operator<<(std::ostream& os, const outcome& o) {
  switch (o.status) {
    case read_status::number: return os << "number " << o.value;
    case read_status::invalid: return os << "invalid";
    case read_status::outside_range: return os << "outside range";
    case read_status::end: return os << "end";
  }
  return os;
}

// Reads until the end of input (or a bound, against a reader that never ends).
std::vector<outcome> read_all(const std::string& input, std::size_t chunk) {
  chunked_source source(input, chunk);
  luling::reader reader(source);
  std::vector<outcome> outcomes;
  for (int i = 0; i < 100; ++i) {
    std::int32_t value = 0;
    const read_status status = reader.read(value);
    outcomes.push_back(status == read_status::number ? number(value) : outcome{status});
    if (status == read_status::end) break;
  }
  return outcomes;
}

struct reader_case {
  const char* name;
  std::string input;
  std::vector<outcome> expected;
};

const std::string long_digits(5000, '9');

const reader_case cases[] = {
    {"plain numbers on lines", "1\n12\n30\n", {number(1), number(12), number(30), end}},
    {"several numbers on one line", "1 12\t30\n", {number(1), number(12), number(30), end}},
    {"all white space and empty lines skipped", "\n\n \t\r\v\f 5\r\n\n", {number(5), end}},
    {"signs and leading zeros", "+4 007 -0 -007 +0000000000000000000000042",
     {number(4), number(7), number(0), number(-7), number(42), end}},
    {"range limits", "2147483647 -2147483648", {number(2147483647), number(-2147483647 - 1), end}},
    {"just past the limits", "2147483648\n-2147483649\n1", {outside, outside, number(1), end}},
    {"out of range drops the rest of its line", "99999999999 5 6\n7\n", {outside, number(7), end}},
    {"digits far beyond any integer", long_digits + " 1\n2\n", {outside, number(2), end}},
    {"leading zeros do not count towards the range", std::string(60, '0') + "2147483647\n",
     {number(2147483647), end}},
    {"letters are invalid and drop their line", "abc 5\n6\n", {invalid, number(6), end}},
    {"a lone sign is invalid", "-\n+\n3\n", {invalid, invalid, number(3), end}},
    {"a sign must touch its digits", "- 5\n--5\n+-5\n9\n", {invalid, invalid, invalid, number(9), end}},
    {"a number stops at the first other byte", "12abc\n4\n", {number(12), invalid, number(4), end}},
    {"a decimal point ends the number", "3.5\n", {number(3), invalid, end}},
    {"no other base is recognised", "0x1A\n", {number(0), invalid, end}},
    {"chinese characters (GBK) are invalid", "\xC4\xE3\xBA\xC3\n8\n", {invalid, number(8), end}},
    {"chinese characters (UTF-8) are invalid", "\xE4\xBD\xA0\n8\n", {invalid, number(8), end}},
    {"a NUL byte is invalid", std::string("\0" "1\n2\n", 5), {invalid, number(2), end}},
    {"end of input ends a number", "30", {number(30), end}},
    {"bad input right before the end", "abc", {invalid, end}},
    {"out of range right before the end", "-99999999999", {outside, end}},
    {"a sign right before the end", "-", {invalid, end}},
    {"empty input", "", {end}},
    {"only white space", " \n\n\t ", {end}},
};

TEST(reader, reads_each_case_alike_whatever_the_input_arrives_in) {
  for (const reader_case& c : cases) {
    for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, std::size_t{1} << 20}) {
      SCOPED_TRACE(std::string(c.name) + ", chunk " + std::to_string(chunk));
      EXPECT_EQ(read_all(c.input, chunk), c.expected);
    }
  }
}

TEST(reader, does_not_wait_for_more_input_once_a_line_is_dropped) {
  // A terminal hands over one line per read: the reader must not ask for the
  // next line before it answers this one.
  chunked_source source("abc\n" "5\n", 4);
  luling::reader reader(source);
  std::int32_t value = 0;
  EXPECT_EQ(reader.read(value), read_status::invalid);
  EXPECT_EQ(source.consumed(), 4u);
}

TEST(reader, leaves_the_byte_after_a_number_unread) {
  chunked_source source("42\n" "7\n", 3);
  luling::reader reader(source);
  std::int32_t value = 0;
  ASSERT_EQ(reader.read(value), read_status::number);
  EXPECT_EQ(value, 42);
  EXPECT_EQ(source.consumed(), 3u);  // the first line only: no wait for the second
}

TEST(reader, keeps_a_line_of_any_length_out_of_memory) {
  // Ten megabytes of digits pass through the reader's fixed buffer.
  const std::string huge(10 << 20, '7');
  chunked_source source(huge + "\n1\n", 1 << 16);
  luling::reader reader(source);
  std::int32_t value = 0;
  EXPECT_EQ(reader.read(value), read_status::outside_range);
  EXPECT_EQ(reader.read(value), read_status::number);
  EXPECT_EQ(value, 1);
  EXPECT_LT(sizeof reader, std::size_t{1} << 17);
}

TEST(reader, reports_end_again_after_the_end) {
  chunked_source source("", 1);
  luling::reader reader(source);
  std::int32_t value = 0;
  EXPECT_EQ(reader.read(value), read_status::end);
  EXPECT_EQ(reader.read(value), read_status::end);
}

}  // namespace
