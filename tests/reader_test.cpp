// Reading integers from a byte stream: the form, the range, what is dropped
// after bad input, and where each read stops.
#include "console/reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/chunked_source.h"

namespace {

using luling::read_status;
using luling::testing::chunked_source;

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
const outcome failed{read_status::failed};

std::ostream& operator<<(std::ostream& os, const outcome& o) {
  switch (o.status) {
    case read_status::number: return os << "number " << o.value;
    case read_status::invalid: return os << "invalid";
    case read_status::outside_range: return os << "outside range";
    case read_status::end: return os << "end";
    case read_status::failed: return os << "failed";
  }
  return os;
}

// Reads until the end of input (or a bound, against a reader that never ends).
std::vector<outcome> read_all(const std::string& input, std::size_t chunk, bool fails) {
  chunked_source source(input, chunk, fails);
  luling::reader reader(source);
  std::vector<outcome> outcomes;
  for (int i = 0; i < 100; ++i) {
    std::int32_t value = 0;
    const read_status status = reader.read(value);
    outcomes.push_back(status == read_status::number ? number(value) : outcome{status});
    if (status == read_status::end || status == read_status::failed) break;
  }
  return outcomes;
}

struct reader_case {
  const char* name;
  std::string input;
  std::vector<outcome> expected;
  bool fails = false;  // reading fails after the input, rather than ending
};

// UTF-16 code units as little- or big-endian bytes.
std::string utf16(std::u16string_view units, bool big_endian = false) {
  std::string bytes;
  for (char16_t unit : units) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

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
    {"numbers that wrap a 64-bit count", "18446744073709551616\n-18446744073709551615\n", {outside, outside, end}},
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
    {"full-width digits in UTF-8", "\xEF\xBC\x91\xEF\xBC\x92\n\xEF\xBC\x90\xEF\xBC\x99\n", {number(12), number(9), end}},
    {"full-width digits in GBK", "\xA3\xB1\xA3\xB2\n\xA3\xB0\xA3\xB9\n", {number(12), number(9), end}},
    {"full-width and ASCII mixed", "1\xEF\xBC\x92 \xEF\xBC\x8D\xEF\xBC\x95 \xA3\xAB" "30 \xA3\xAD" "7",
     {number(12), number(-5), number(30), number(-7), end}},
    {"the ideographic space separates", "\xE3\x80\x80" "1\xE3\x80\x80" "2\xA1\xA1\xA1\xA1" "3\n", {number(1), number(2), number(3), end}},
    {"a full-width sign must touch its digits", "\xEF\xBC\x8D \xEF\xBC\x95\n\xA3\xAB\xE3\x80\x80" "5\n9", {invalid, invalid, number(9), end}},
    {"full-width digits count towards the range", "\xEF\xBC\x92\xEF\xBC\x91" "47483648\n-\xA3\xB2" "147483648\n",
     {outside, number(-2147483647 - 1), end}},
    {"other full-width characters end a number", "\xEF\xBC\x91\xEF\xBC\x8E\xEF\xBC\x95\n12\xA3\xA8\n",
     {number(1), invalid, number(12), invalid, end}},
    {"a lead byte cut off by the end", "1\xA3", {number(1), invalid, end}},
    {"two bytes of three cut off by the end", "1\xEF\xBC", {number(1), invalid, end}},
    {"a UTF-8 byte-order mark at the start is skipped", "\xEF\xBB\xBF" "1\n2", {number(1), number(2), end}},
    {"a byte-order mark alone", "\xEF\xBB\xBF", {end}},
    {"a byte-order mark later is not", "1\n\xEF\xBB\xBF" "2\n", {number(1), invalid, end}},
    {"the start of a mark that is none", "\xEF\xBB" "1\n2\n", {invalid, number(2), end}},
    {"UTF-16, little-endian", "\xFF\xFE" + utf16(u"1\r\n\uFF11\uFF12\r\n\uFF0B\uFF13\uFF10\r\n"),
     {number(1), number(12), number(30), end}},
    {"UTF-16, big-endian", "\xFE\xFF" + utf16(u"-5 +6\n", true), {number(-5), number(6), end}},
    {"UTF-16 with a character outside the BMP", "\xFF\xFE" + utf16(u"3\n\U0001F600\n7"), {number(3), invalid, number(7), end}},
    {"UTF-16 with a lone surrogate", "\xFF\xFE" + utf16(u"\xD800" "5\n6\n"), {invalid, number(6), end}},
    {"UTF-16 with a lone surrogate before a line end", "\xFF\xFE" + utf16(u"5\xD800\n6"), {number(5), invalid, number(6), end}},
    {"UTF-16 with a lone surrogate at the very end", "\xFF\xFE" + utf16(u"7\n\xD800"), {number(7), invalid, end}},
    {"UTF-16 that fails to be read", "\xFF\xFE" + utf16(u"4\n"), {number(4), failed}, true},
    {"UTF-16 with an odd byte at the end", "\xFF\xFE" + utf16(u"8") + std::string(1, '\0'), {number(8), invalid, end}},
    {"a failing read after a number", "12\n", {number(12), failed}, true},
    {"a failing read at once", "", {failed}, true},
    {"a failing read after bad input", "x", {invalid, failed}, true},
};

TEST(reader, reads_each_case_alike_whatever_the_input_arrives_in) {
  for (const reader_case& c : cases) {
    for (std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, std::size_t{1} << 20}) {
      SCOPED_TRACE(std::string(c.name) + ", chunk " + std::to_string(chunk));
      EXPECT_EQ(read_all(c.input, chunk, c.fails), c.expected);
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
