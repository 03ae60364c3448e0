// The floor for the batch benchmark: the least a program can do to turn the
// same input into the same output with the same write calls. It reads the
// numbers with a bare loop (no checks), follows the same screens, and writes
// each piece the calculator flushes with one write(2) of its own.
#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "console/texts.h"

namespace {

using namespace luling;

char input[1 << 16];
std::size_t at = 0;
std::size_t filled = 0;

int next_byte() {
  if (at == filled) {
    const ssize_t n = read(STDIN_FILENO, input, sizeof input);
    if (n <= 0) return -1;
    filled = static_cast<std::size_t>(n);
    at = 0;
  }
  return static_cast<unsigned char>(input[at++]);
}

bool read_number(std::int32_t& value) {
  int c = next_byte();
  while (c == ' ' || c == '\n' || c == '\t' || c == '\r') c = next_byte();
  if (c < 0) return false;
  const bool negative = c == '-';
  if (c == '-' || c == '+') c = next_byte();
  std::uint32_t magnitude = 0;
  for (; c >= '0' && c <= '9'; c = next_byte()) magnitude = magnitude * 10 + static_cast<std::uint32_t>(c - '0');
  value = static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
  return true;
}

void put(std::string_view bytes) {
  if (write(STDOUT_FILENO, bytes.data(), bytes.size()) < 0) _exit(1);
}

std::string line(text t) { return std::string(t) + "\n"; }

const std::string screen_top = std::string("\f").append(banner).append("\n");
const std::string title = line(menu_title);
const std::string codes = line(menu_codes);
const std::string wait_line = line(pause_prompt);

// Appends the decimal digits of `value`.
char* number(char* to, std::int32_t value) { return std::to_chars(to, to + 12, value).ptr; }

void result_line(std::int32_t value) {
  char buffer[64];
  char* end = std::copy(result_label.begin(), result_label.end(), buffer);
  end = number(end, value);
  *end++ = '\n';
  put(std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
}

// One two-operand screen; false at the end of input.
template <typename Operation>
bool screen(std::int32_t& a, const std::string& first, const std::string& second, Operation operation) {
  std::int32_t b;
  put(screen_top);
  put(first);
  if (!read_number(a)) return false;
  put(second);
  if (!read_number(b)) return false;
  result_line(operation(a, b));
  put(wait_line);
  return true;
}

std::uint32_t u(std::int32_t v) { return static_cast<std::uint32_t>(v); }

}  // namespace

int main() {
  const std::string add_1 = line(prompt_addend_1), add_2 = line(prompt_addend_2);
  const std::string sub_1 = line(prompt_minuend), sub_2 = line(prompt_subtrahend);
  const std::string div_1 = line(prompt_dividend), div_2 = line(prompt_divisor);
  const std::string mul_1 = line(prompt_factor_1), mul_2 = line(prompt_factor_2);
  const std::string zero = line(divide_by_zero);
  std::int32_t a;
  for (;;) {
    put(screen_top);
    put(title);
    put(codes);
    put(input_warning);
    if (!read_number(a)) break;
    if (a == 1 && !screen(a, add_1, add_2, [](std::int32_t x, std::int32_t y) { return static_cast<std::int32_t>(u(x) + u(y)); })) return 0;
    if (a == 2 && !screen(a, sub_1, sub_2, [](std::int32_t x, std::int32_t y) { return static_cast<std::int32_t>(u(x) - u(y)); })) return 0;
    if (a == 3) {
      std::int32_t b;
      put(screen_top);
      put(div_1);
      if (!read_number(a)) return 0;
      put(div_2);
      if (!read_number(b)) return 0;
      if (b == 0) {
        put(zero);
      } else {
        char buffer[64];
        char* end = std::copy(result_label.begin(), result_label.end(), buffer);
        end = number(end, b == -1 ? static_cast<std::int32_t>(0u - u(a)) : a / b);
        end = std::copy(remainder_separator.begin(), remainder_separator.end(), end);
        end = number(end, b == -1 ? 0 : a % b);
        *end++ = '\n';
        put(std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
      }
      put(wait_line);
    }
    if (a == 4 && !screen(a, mul_1, mul_2, [](std::int32_t x, std::int32_t y) { return static_cast<std::int32_t>(u(x) * u(y)); })) return 0;
  }
  put("\n");
  return 0;
}
