// The Windows x64 executable: its resources and imports read back from the
// file, and the program run under Wine, through pipes and on a console.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <tuple>

#include "console/texts.h"
#include "tests/gbk.h"
#include "tests/process.h"
#include "tests/transcript.h"

namespace {

using namespace luling;
using namespace luling::testing;

const std::string exe = LULING_WINDOWS_EXE;
const std::string wine = LULING_WINE64;
const std::string wrestool = LULING_WRESTOOL;
const std::string objdump = LULING_OBJDUMP;

// Long enough for a freshly made prefix's first start of the command
// interpreter on a busy machine: only a hang takes longer.
constexpr milliseconds patience(60000);

const environment tools_env = {"PATH=/usr/bin:/bin", "LC_ALL=C"};
const environment wine_env = {"WINEPREFIX=" LULING_WINEPREFIX, "WINEDEBUG=-all", "WINEDLLOVERRIDES=mscoree,mshtml=",
                              "HOME=" LULING_WINEPREFIX, "PATH=/usr/bin:/bin", "LANG=C.UTF-8", "TERM=xterm"};

// Skips a test whose tools are missing, except under CI, where that fails.
#define REQUIRE(tool_path, what)                                                       \
  do {                                                                                 \
    if ((tool_path).empty() || access((tool_path).c_str(), R_OK) != 0) {               \
      if (const char* ci = std::getenv("CI"); ci != nullptr && std::strcmp(ci, "true") == 0) { \
        FAIL() << what << " is missing (CI=true)";                                     \
      }                                                                                \
      GTEST_SKIP() << what << " is missing: Windows tests skipped";                    \
    }                                                                                  \
  } while (false)

#define REQUIRE_EXE() REQUIRE(exe, "the cross-built luling-calc.exe (tools/test.sh builds it)")

std::string run_tool(const command& c) { return run_piped(c, "", tools_env).output; }

// A resource's raw bytes.
std::string resource(int type, int name) {
  return run_tool({wrestool, "-x", "--raw", "--type=" + std::to_string(type), "--name=" + std::to_string(name), exe});
}

unsigned little_endian(const std::string& bytes, std::size_t at, std::size_t size) {
  unsigned value = 0;
  for (std::size_t i = size; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
  return value;
}

std::string crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST(windows, carries_exactly_the_icon_its_group_and_the_manifest) {
  REQUIRE_EXE();
  REQUIRE(wrestool, "wrestool (Debian package icoutils)");
  std::set<std::tuple<int, int, int>> found;  // type, name, language
  const std::string listing = run_tool({wrestool, "-l", exe});
  const std::regex entry("--type=(\\d+) --name=(\\d+) --language=(\\d+)");
  for (auto it = std::sregex_iterator(listing.begin(), listing.end(), entry); it != std::sregex_iterator(); ++it) {
    found.emplace(std::stoi((*it)[1]), std::stoi((*it)[2]), std::stoi((*it)[3]));
  }
  const std::set<std::tuple<int, int, int>> expected = {
      {3, 1, 2052},     // RT_ICON 1, Chinese (Simplified, PRC)
      {14, 101, 2052},  // RT_GROUP_ICON 101, Chinese (Simplified, PRC)
      {24, 1, 1033},    // RT_MANIFEST 1, English (United States)
  };
  EXPECT_EQ(found, expected) << listing;
  EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 3) << listing;
}

TEST(windows, has_one_opaque_64_pixel_32_bit_icon_image) {
  REQUIRE_EXE();
  REQUIRE(wrestool, "wrestool (Debian package icoutils)");
  const std::string group = resource(14, 101);
  ASSERT_EQ(group.size(), 6u + 14u) << "a group of one image";
  EXPECT_EQ(little_endian(group, 4, 2), 1u);                               // image count
  EXPECT_EQ(static_cast<unsigned char>(group[6]), 64);                     // width
  EXPECT_EQ(static_cast<unsigned char>(group[7]), 64);                     // height
  EXPECT_EQ(little_endian(group, 12, 2), 32u);                             // bits per pixel
  EXPECT_EQ(little_endian(group, 18, 2), 1u);                              // image resource id

  const std::string image = resource(3, 1);
  ASSERT_GE(image.size(), 40u + 64u * 64u * 4u);
  EXPECT_EQ(little_endian(image, 0, 4), 40u);    // BITMAPINFOHEADER
  EXPECT_EQ(little_endian(image, 4, 4), 64u);    // width
  EXPECT_EQ(little_endian(image, 8, 4), 128u);   // height: colour and mask
  EXPECT_EQ(little_endian(image, 14, 2), 32u);   // bits per pixel
  EXPECT_EQ(little_endian(image, 16, 4), 0u);    // uncompressed
  int opaque = 0;
  for (std::size_t pixel = 0; pixel < 64 * 64; ++pixel) opaque += static_cast<unsigned char>(image[40 + pixel * 4 + 3]) == 255;
  EXPECT_EQ(opaque, 64 * 64);
}

TEST(windows, manifest_asks_only_to_run_at_the_callers_level) {
  REQUIRE_EXE();
  REQUIRE(wrestool, "wrestool (Debian package icoutils)");
  const std::string manifest = resource(24, 1);
  const std::regex request("<requestedExecutionLevel\\s+level=\"asInvoker\"\\s+uiAccess=\"false\"\\s*/>");
  EXPECT_TRUE(std::regex_search(manifest, request)) << manifest;
  std::string elements;
  const std::regex element("<([A-Za-z]+)");
  for (auto it = std::sregex_iterator(manifest.begin(), manifest.end(), element); it != std::sregex_iterator(); ++it) {
    elements += (*it)[1].str() + " ";
  }
  EXPECT_EQ(elements, "assembly trustInfo security requestedPrivileges requestedExecutionLevel ");
}

TEST(windows, needs_no_dll_beyond_windows_own_is_stripped_and_keeps_aslr_and_nx) {
  REQUIRE_EXE();
  REQUIRE(objdump, "x86_64-w64-mingw32-objdump (Debian package binutils-mingw-w64-x86-64)");
  const std::string headers = run_tool({objdump, "-p", "-h", exe});
  EXPECT_NE(headers.find("file format pei-x86-64"), std::string::npos);
  const std::set<std::string> shipped_with_windows = {"KERNEL32.dll", "msvcrt.dll"};
  const std::regex import("DLL Name: (\\S+)");
  int imports = 0;
  for (auto it = std::sregex_iterator(headers.begin(), headers.end(), import); it != std::sregex_iterator(); ++it) {
    ++imports;
    EXPECT_TRUE(shipped_with_windows.count((*it)[1].str())) << (*it)[1];
  }
  EXPECT_GT(imports, 0);
  EXPECT_EQ(headers.find(".debug"), std::string::npos) << "stripped";
  for (const char* flag : {"HIGH_ENTROPY_VA", "DYNAMIC_BASE", "NX_COMPAT"}) {
    EXPECT_NE(headers.find(flag), std::string::npos) << "ASLR and NX: " << flag;
  }
  EXPECT_NE(headers.find("Time/Date\t\tThu Jan  1 00:00:00 1970"), std::string::npos) << "no link time, for reproducible builds";
}

struct wine_case {
  const char* name;
  std::string input;
  std::string expected;  // with LF line ends
};

const wine_case wine_cases[] = {
    {"the typical pass", "1\n12\n30\n", menu() + add(42) + menu() + quit},
    {"all four screens in one pass", "1\n2\n2\n3\n1\n4\n2\n5\n6\n",
     menu() + add(4) + subtract(2) + divide(2, 0) + multiply(30) + menu() + quit},
    {"invalid input", "abc\n- 5\n1\n12\n30\n", menu() + invalid + invalid + add(42) + menu() + quit},
    {"out of range", "2147483648\n99999999999999999999999\n", menu() + too_large + too_large},
    {"a divisor of 0 and the smallest value divided by -1", "3\n7\n0\n3\n-2147483648\n-1\n",
     menu() + divide_by_0() + menu() + divide(-2147483647 - 1, 0) + menu() + quit},
    {"input with CR LF line ends", "1\r\n12\r\n30\r\n", menu() + add(42) + menu() + quit},
    {"empty input", "", menu() + quit},
    {"full-width digits in UTF-8 and GBK", "1\n\xEF\xBC\x91\xEF\xBC\x92\n\xA3\xAB\xA3\xB3\xA3\xB0\n",
     menu() + add(42) + menu() + quit},
    {"UTF-16 as Notepad saves it", std::string("\xFF\xFE" "1\0\r\0\n\0" "1\0" "2\0\n\0" "3\0" "0\0", 18),
     menu() + add(42) + menu() + quit},
    {"a Ctrl-Z byte in a file is data", "\x1a\n1\n12\n30\n", menu() + invalid + add(42) + menu() + quit},
};

TEST(windows, writes_the_linux_transcript_with_crlf_through_pipes_and_exits_0) {
  REQUIRE_EXE();
  REQUIRE(wine, "wine64 (Debian packages wine and wine64)");
  for (const wine_case& c : wine_cases) {
    SCOPED_TRACE(c.name);
    const piped_run windows = run_piped({wine, exe}, c.input, wine_env, patience);
    const piped_run linux = run_piped(calculator(), c.input);
    EXPECT_FALSE(windows.timed_out);
    EXPECT_TRUE(WIFEXITED(windows.status) && WEXITSTATUS(windows.status) == 0) << "status " << windows.status;
    EXPECT_EQ(printable(windows.output), printable(crlf(linux.output)));
    EXPECT_EQ(printable(windows.output), printable(crlf(c.expected)));
  }
}

// The .exe on the prefix's C: drive, so that a command line needs no quoting
// whatever the build's path.
void put_exe_on_drive_c() {
  std::filesystem::copy_file(exe, LULING_WINEPREFIX "/drive_c/luling-calc.exe",
                             std::filesystem::copy_options::overwrite_existing);
}

// True once Wine's console takes the terminal's keys raw: the program reads.
bool console_reads(const terminal_session& user) { return (user.settings().c_lflag & ICANON) == 0; }

TEST(windows, shows_chinese_and_reads_full_width_digits_on_a_console_at_any_code_page) {
  REQUIRE_EXE();
  REQUIRE(wine, "wine64 (Debian packages wine and wine64)");
  // Wine gives the program a console on the terminal; its own "cls" and
  // "pause" run there.
  put_exe_on_drive_c();
  const auto utf8 = [](text t) { return gbk_to_utf8(t); };
  for (const char* code_page : {"936", "437", "65001"}) {
    SCOPED_TRACE(std::string("code page ") + code_page);
    terminal_session user({wine, "cmd", "/c", std::string("chcp ") + code_page + " & C:\\luling-calc.exe"}, wine_env,
                          {.suspend_key = false});
    ASSERT_TRUE(user.expect(utf8(banner), patience));
    ASSERT_TRUE(user.expect(utf8(menu_title), patience));
    ASSERT_TRUE(wait_until([&] { return console_reads(user); }, patience));
    user.type("1\r");
    ASSERT_TRUE(user.expect(utf8(prompt_addend_1), patience));
    EXPECT_NE(user.screen().find("\x1b[H", user.screen().find(utf8(menu_title))), std::string::npos)
        << "the console cleared and the cursor homed";
    user.type("\xE4\xBD\xA0\xE5\xA5\xBD\r");  // 你好
    ASSERT_TRUE(user.expect(utf8(invalid_input), patience));
    user.type("\xEF\xBC\x91\xEF\xBC\x92\r");  // １２
    ASSERT_TRUE(user.expect(utf8(prompt_addend_2), patience));
    user.type("30\r");
    EXPECT_TRUE(user.expect(utf8(result_label) + "42", patience));
    EXPECT_TRUE(user.expect("Press any key to continue", patience)) << "the command interpreter's pause";
    user.type("\xE4\xBD\xA0\xE5\xA5\xBD");  // 你好: pause takes one character, the rest is dropped
    EXPECT_TRUE(user.expect(utf8(banner), patience));
    user.type("1\r");
    EXPECT_TRUE(user.expect(utf8(prompt_addend_1), patience));
    user.type("\x1a\r");  // Ctrl-Z at the start of a line, then Enter
    EXPECT_EQ(user.wait(patience), 0) << "the end of input ends it with status 0";
    EXPECT_EQ(user.screen().find('\f'), std::string::npos) << "no form feed on a console";
  }
}

TEST(windows, asks_each_stream_whether_it_is_a_console) {
  REQUIRE_EXE();
  REQUIRE(wine, "wine64 (Debian packages wine and wine64)");
  put_exe_on_drive_c();
  // Input from a pipe, output on the console: Chinese on the console, no
  // clearing, no waiting, and the end of input ends it.
  terminal_session user({"/bin/sh", "-c", "printf '1\\n12\\n30\\n' | exec \"$0\" C:\\\\luling-calc.exe", wine}, wine_env);
  EXPECT_TRUE(user.expect(gbk_to_utf8(result_label) + "42", patience));
  EXPECT_TRUE(user.expect(gbk_to_utf8(pause_prompt).substr(0, 21), patience));
  EXPECT_EQ(user.wait(patience), 0) << "status 0 at the end of input";
  EXPECT_EQ(user.screen().find("Press any key"), std::string::npos);

  // Input at the console, output into a file: the file gets the pipe's
  // transcript, with the program's own wait prompt in GBK; pause still waits.
  const std::string file = LULING_WINEPREFIX "/drive_c/out.txt";
  std::filesystem::remove(file);
  const auto written = [&] {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const auto file_ends_with = [&](const std::string& bytes) { return written().ends_with(crlf(bytes)); };
  terminal_session typist({wine, "cmd", "/c", "C:\\luling-calc.exe > C:\\out.txt"}, wine_env, {.suspend_key = false});
  ASSERT_TRUE(wait_until([&] { return console_reads(typist); }, patience));
  typist.type("1\r12\r30\r");
  ASSERT_TRUE(wait_until([&] { return file_ends_with(std::string(pause_prompt)); }, patience));
  EXPECT_FALSE(wait_until([&] { return !file_ends_with(std::string(pause_prompt)); }, milliseconds(500))) << "pause waits";
  typist.type("x");
  ASSERT_TRUE(wait_until([&] { return file_ends_with(menu()); }, patience));
  typist.type("\x1a\r");
  EXPECT_EQ(typist.wait(patience), 0);
  EXPECT_EQ(printable(written()), printable(crlf(menu() + add(42) + menu() + quit)));
  EXPECT_EQ(typist.screen().find("Press any key"), std::string::npos);
}

}  // namespace
