// The calculator: an endless loop of the menu screen and the operation
// screens it leads to. Each operation screen stores its first operand in `a`,
// so a first operand equal to a later code runs that code's screen next.
#include <cstdint>

#include "app/arithmetic.h"
#include "console/console.h"
#include "console/texts.h"

int main() {
  using namespace luling;
  std::int32_t a;
  std::int32_t b;
  std::int32_t result;
  std::int32_t quotient;
  for (;;) {
    clear_screen();
    write_line(banner);
    write_line(menu_title);
    write_line(menu_codes);
    write_text(input_warning);
    read_integer(a);
    if (a == 1) {
      clear_screen();
      write_line(banner);
      write_line(prompt_addend_1);
      read_integer(a);
      write_line(prompt_addend_2);
      read_integer(b);
      result = wrapping_add(a, b);
      write_text(result_label);
      write_number(result);
      end_line();
      wait_for_key();
    }
    if (a == 2) {
      clear_screen();
      write_line(banner);
      write_line(prompt_minuend);
      read_integer(a);
      write_line(prompt_subtrahend);
      read_integer(b);
      result = wrapping_subtract(a, b);
      write_text(result_label);
      write_number(result);
      end_line();
      wait_for_key();
    }
    if (a == 3) {
      clear_screen();
      write_line(banner);
      write_line(prompt_dividend);
      read_integer(a);
      write_line(prompt_divisor);
      read_integer(b);
      if (b == 0) {
        write_line(divide_by_zero);
      } else {
        quotient = wrapping_quotient(a, b);
        result = wrapping_remainder(a, b);
        write_text(result_label);
        write_number(quotient);
        write_text(remainder_separator);
        write_number(result);
        end_line();
      }
      wait_for_key();
    }
    if (a == 4) {
      clear_screen();
      write_line(banner);
      write_line(prompt_factor_1);
      read_integer(a);
      write_line(prompt_factor_2);
      read_integer(b);
      result = wrapping_multiply(a, b);
      write_text(result_label);
      write_number(result);
      end_line();
      wait_for_key();
    }
  }
}
