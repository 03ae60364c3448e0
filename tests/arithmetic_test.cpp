// The 32-bit arithmetic behind the result lines: wrapping sums, differences
// and products, and division truncated toward zero.
#include "app/arithmetic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using namespace luling;

constexpr std::int32_t min32 = -2147483647 - 1;
constexpr std::int32_t max32 = 2147483647;

TEST(arithmetic, wraps_sums_differences_and_products_modulo_2_to_the_32) {
  const struct {
    std::int32_t a, b, sum, difference, product;
  } cases[] = {
      {12, 30, 42, -18, 360},
      {3, 10, 13, -7, 30},
      {3, -4, -1, 7, -12},
      {0, -5, -5, 5, 0},
      {max32, 1, min32, max32 - 1, max32},
      {min32, 1, min32 + 1, max32, min32},
      {min32, -1, max32, min32 + 1, min32},
      {65536, 65536, 131072, 0, 0},
      {max32, max32, -2, 0, 1},
      {min32, min32, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.a) + ", " + std::to_string(c.b));
    EXPECT_EQ(wrapping_add(c.a, c.b), c.sum);
    EXPECT_EQ(wrapping_subtract(c.a, c.b), c.difference);
    EXPECT_EQ(wrapping_multiply(c.a, c.b), c.product);
  }
}

TEST(arithmetic, divides_truncating_toward_zero_with_the_dividends_sign_on_the_remainder) {
  const struct {
    std::int32_t a, b, quotient, remainder;
  } cases[] = {
      {7, 2, 3, 1},     {-7, 2, -3, -1},       {7, -2, -3, 1},       {-7, -2, 3, -1},
      {6, 3, 2, 0},     {5, 7, 0, 5},          {max32, -1, -max32, 0}, {min32, -1, min32, 0},
      {min32, 1, min32, 0}, {min32, max32, -1, -1}, {max32, min32, 0, max32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.a) + " / " + std::to_string(c.b));
    EXPECT_EQ(wrapping_quotient(c.a, c.b), c.quotient);
    EXPECT_EQ(wrapping_remainder(c.a, c.b), c.remainder);
  }
}

}  // namespace
