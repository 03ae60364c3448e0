// 32-bit calculator arithmetic that wraps modulo 2^32 the way the machine
// does, computed without signed overflow.
#pragma once

#include <cstdint>
#include <limits>

namespace luling {

constexpr std::int32_t wrapping_add(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

constexpr std::int32_t wrapping_subtract(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

constexpr std::int32_t wrapping_multiply(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// Quotient truncated toward zero; the smallest value divided by -1 wraps to
// itself. `b` must not be 0.
constexpr std::int32_t wrapping_quotient(std::int32_t a, std::int32_t b) {
  return b == -1 ? wrapping_subtract(0, a) : a / b;
}

// Remainder with the sign of the dividend, so that quotient * b + remainder
// is `a`. `b` must not be 0.
constexpr std::int32_t wrapping_remainder(std::int32_t a, std::int32_t b) {
  return b == -1 ? 0 : a % b;
}

}  // namespace luling
