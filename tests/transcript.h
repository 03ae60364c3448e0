// The calculator's screens as they come through a pipe, for building the
// transcripts that end-to-end tests expect.
#pragma once

#include <cstdint>
#include <string>

#include "console/texts.h"

namespace luling::testing {

// What clearing writes to a pipe.
inline const std::string clear = "\f";
// What the end of input adds after the menu's warning.
inline const std::string quit = "\n";

inline std::string line(text t) { return std::string(t) + "\n"; }

inline const std::string invalid = line(invalid_input);
inline const std::string too_large = line(out_of_range);

// The menu screen up to the cursor after the warning.
inline std::string menu() {
  return clear + line(banner) + line(menu_title) + line(menu_codes) + std::string(input_warning);
}

inline std::string pause() { return line(pause_prompt); }

inline std::string result_line(std::int32_t value) {
  return std::string(result_label) + std::to_string(value) + "\n";
}

// A screen of two prompts, the result line and the wait.
inline std::string screen(text first, text second, std::int32_t value) {
  return clear + line(banner) + line(first) + line(second) + result_line(value) + pause();
}

inline std::string add(std::int32_t sum) { return screen(prompt_addend_1, prompt_addend_2, sum); }
inline std::string subtract(std::int32_t difference) {
  return screen(prompt_minuend, prompt_subtrahend, difference);
}
inline std::string multiply(std::int32_t product) { return screen(prompt_factor_1, prompt_factor_2, product); }

inline std::string divide(std::int32_t quotient, std::int32_t remainder) {
  return clear + line(banner) + line(prompt_dividend) + line(prompt_divisor) + std::string(result_label) +
         std::to_string(quotient) + std::string(remainder_separator) + std::to_string(remainder) + "\n" +
         pause();
}

inline std::string divide_by_0() {
  return clear + line(banner) + line(prompt_dividend) + line(prompt_divisor) + line(divide_by_zero) + pause();
}

// An addition screen whose first and second reads each met one error first.
inline std::string add_with_errors(const std::string& first_error, const std::string& second_error,
                                   std::int32_t sum) {
  return clear + line(banner) + line(prompt_addend_1) + first_error + line(prompt_addend_2) + second_error +
         result_line(sum) + pause();
}

// Bytes made readable for a failure message: escapes for control bytes and
// bytes outside ASCII, line ends kept.
inline std::string printable(const std::string& bytes) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (c == '\n' || (c >= 0x20 && c < 0x7F)) {
      out += byte;
    } else {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

}  // namespace luling::testing
