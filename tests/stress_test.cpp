// The real executable fed thousands of seeded random inputs through a pipe:
// each run must end by itself with status 0 once its input ends, and memory
// must not grow with the length of a line.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <random>
#include <string>

#include "tests/process.h"
#include "tests/transcript.h"

namespace {

using namespace luling::testing;

enum class kind { random_bytes, numbers_and_signs, long_digit_lines, megabyte_line, cut_session, nul_bytes, bad_encoding, empty };
constexpr int kinds = 8;
const char* const kind_names[kinds] = {"random bytes", "numbers and signs", "long digit lines", "megabyte line",
                                       "cut session",  "NUL bytes",         "bad encoding",     "empty"};

using rng = std::mt19937_64;

int uniform(rng& r, int low, int high) { return std::uniform_int_distribution<int>(low, high)(r); }

char pick(rng& r, std::string_view from) { return from[static_cast<std::size_t>(uniform(r, 0, static_cast<int>(from.size()) - 1))]; }

// A plausible session: codes, operands across the whole range, line ends.
std::string session(rng& r) {
  std::string s;
  for (int i = uniform(r, 1, 40); i > 0; --i) {
    const int choice = uniform(r, 0, 3);
    if (choice == 0) {
      s += std::to_string(uniform(r, -1, 5));
    } else {
      s += std::to_string(std::uniform_int_distribution<std::int32_t>()(r));
    }
    s += pick(r, "\n\n\n \t");
  }
  return s;
}

std::string generate(kind k, rng& r) {
  std::string s;
  switch (k) {
    case kind::random_bytes:
      for (int i = uniform(r, 1, 4096); i > 0; --i) s += static_cast<char>(uniform(r, 0, 255));
      break;
    case kind::numbers_and_signs:
      for (int i = uniform(r, 1, 2000); i > 0; --i) s += pick(r, "0123456789012341234+- \n\n\t");
      break;
    case kind::long_digit_lines:
      for (int line = uniform(r, 1, 5); line > 0; --line) {
        s += pick(r, "+- 0");
        for (int i = uniform(r, 10, 100000); i > 0; --i) s += pick(r, "0123456789");
        s += '\n';
      }
      s += session(r);
      break;
    case kind::megabyte_line:
      for (int i = 0; i < (1 << 20); ++i) s += pick(r, "0123456789abc ");
      s += '\n';
      s += session(r);
      break;
    case kind::cut_session:
      s = session(r);
      s.resize(static_cast<std::size_t>(uniform(r, 0, static_cast<int>(s.size()))));
      break;
    case kind::nul_bytes:
      s = session(r);
      for (int i = uniform(r, 1, 10); i > 0; --i) s.insert(static_cast<std::size_t>(uniform(r, 0, static_cast<int>(s.size()))), 1, '\0');
      break;
    case kind::bad_encoding:
      // Lone GBK lead bytes, broken UTF-8, stray continuation bytes.
      for (int i = uniform(r, 1, 300); i > 0; --i) {
        s += static_cast<char>(uniform(r, 0x80, 0xFF));
        if (uniform(r, 0, 3) == 0) s += session(r).substr(0, 8);
      }
      break;
    case kind::empty:
      break;
  }
  return s;
}

// LULING_STRESS_SEED replays a run; the default keeps CI repeatable.
std::uint64_t seed() {
  const char* text = std::getenv("LULING_STRESS_SEED");
  return text != nullptr ? std::strtoull(text, nullptr, 10) : 20261208;
}

TEST(stress, every_input_ends_with_status_0_once_it_ends) {
  const std::uint64_t base = seed();
  const std::string menu_screen = menu();
  int failures = 0;
  for (int i = 0; i < 2000 && failures < 5; ++i) {
    const auto k = static_cast<kind>(i % kinds);
    rng r(base * 1000003 + static_cast<std::uint64_t>(i));
    const std::string input = generate(k, r);
    // Only a run that hangs takes a minute, however busy the machine.
    const piped_run run = run_piped(calculator(), input, {}, milliseconds(60000));
    const bool ok = !run.timed_out && WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0 &&
                    run.output.rfind(menu_screen, 0) == 0 && run.output.back() == '\n';
    if (!ok) {
      ++failures;
      ADD_FAILURE() << "input " << i << " (" << kind_names[i % kinds] << ", " << input.size()
                    << " bytes; replay with LULING_STRESS_SEED=" << base << "): status " << run.status
                    << (run.timed_out ? ", timed out" : "") << ", ended " << run.after_input.count()
                    << " ms after its input";
    }
  }
}

// Sanitizers keep memory of their own; only growth is compared under them.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
constexpr bool sanitized = __has_feature(address_sanitizer);
#else
constexpr bool sanitized = false;
#endif

TEST(stress, memory_does_not_grow_with_the_length_of_a_line) {
  // Sampled while the input streams in, so both lines must take a while.
  const auto peak_with_line = [](std::size_t length) {
    const std::string input = "1\n" + std::string(length, '7') + "\n" + std::string(length, 'x') + "\n5\n6\n";
    const piped_run run = run_piped(calculator(), input, {}, milliseconds(60000));
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0);
    return run.peak_kib;
  };
  const long one_mib = peak_with_line(std::size_t{1} << 20);
  const long sixty_four_mib = peak_with_line(std::size_t{64} << 20);
  EXPECT_LT(sixty_four_mib - one_mib, 512) << "KiB: " << one_mib << " -> " << sixty_four_mib;
  if (!sanitized) {
    EXPECT_LT(sixty_four_mib, 4096) << "KiB at the peak";
  }
}

}  // namespace
