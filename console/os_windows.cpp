// The console on Windows, as Python treats it: on a console, text goes in
// and out as UTF-16 through ReadConsoleW and WriteConsoleW, whatever the
// console's code page; clearing and waiting are the command interpreter's
// "cls" and "pause". Redirected, output is the texts' GBK bytes with CR LF
// line ends (text mode) and input is taken byte for byte.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "console/os.h"

namespace luling::os {
namespace {

constexpr int input_fd = 0;
constexpr int output_fd = 1;
constexpr int error_fd = 2;
// The code page of the texts' bytes: GBK.
constexpr UINT gbk_code_page = 936;
// The largest piece handed to one _read, _write or WriteConsoleW call.
constexpr std::size_t max_piece = 1 << 15;
// The most UTF-16 units one ReadConsoleW call takes.
constexpr DWORD max_console_units = 4096;
// Ctrl-Z (SUB): at the start of a console line, ends the input.
constexpr wchar_t end_of_input_key = 0x1A;

// The standard handle `which` if it is a console, else null.
HANDLE console(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// The system's words for a failed Windows call, in English.
std::string system_message(DWORD error) {
  char message[256];
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                      MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), message, sizeof message, nullptr);
  std::string text(message, length);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.')) text.pop_back();
  return text.empty() ? "error " + std::to_string(error) : text;
}

// Writes all bytes through the C runtime (text mode: LF becomes CR LF);
// false, with errno set, if they cannot be written.
bool write_all(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const unsigned piece = static_cast<unsigned>(size < max_piece ? size : max_piece);
    const int n = _write(fd, data, piece);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Shows GBK bytes on the console as UTF-16, LF as CR LF; false, with the
// system's error set, if the console takes them not.
bool write_console(HANDLE handle, const char* data, std::size_t size) {
  const int length = MultiByteToWideChar(gbk_code_page, 0, data, static_cast<int>(size), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(gbk_code_page, 0, data, static_cast<int>(size), wide.data(), length);
  std::wstring lines;
  for (wchar_t c : wide) {
    if (c == L'\n') lines += L'\r';
    lines += c;
  }
  for (std::size_t done = 0; done < lines.size();) {
    const DWORD piece = static_cast<DWORD>(lines.size() - done < max_piece ? lines.size() - done : max_piece);
    DWORD written = 0;
    if (!WriteConsoleW(handle, lines.data() + done, piece, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    done += written;
  }
  return true;
}

}  // namespace

struct standard_streams::state {
  HANDLE input_console = console(STD_INPUT_HANDLE);    // null when redirected
  HANDLE output_console = console(STD_OUTPUT_HANDLE);  // null when redirected
  utf16_to_utf8 utf8;          // console input, a surrogate pair split across reads
  bool at_line_start = true;   // of console input
  bool input_ended = false;    // by Ctrl-Z at the start of a console line
  std::string reason;          // why the last read or write failed

  std::ptrdiff_t read_console(char* buffer, std::size_t size);
};

// Reads what the console's line editing hands over, as UTF-8.
std::ptrdiff_t standard_streams::state::read_console(char* buffer, std::size_t size) {
  if (input_ended) return 0;
  wchar_t units[max_console_units];
  const std::size_t room = size / utf16_to_utf8::max_bytes;
  const DWORD wanted = static_cast<DWORD>(room < max_console_units ? room : max_console_units);
  for (;;) {
    DWORD got = 0;
    SetLastError(ERROR_SUCCESS);
    if (!ReadConsoleW(input_console, units, wanted, &got, nullptr)) {
      reason = system_message(GetLastError());
      return failed;
    }
    // Ctrl-C ends a read with nothing; its handler then ends the process.
    if (got == 0 && GetLastError() == ERROR_OPERATION_ABORTED) continue;
    if (got == 0 || (at_line_start && units[0] == end_of_input_key)) {
      input_ended = true;
      return 0;
    }
    at_line_start = units[got - 1] == L'\n';
    std::size_t written = 0;
    for (DWORD i = 0; i < got; ++i) written += utf8.convert(static_cast<char16_t>(units[i]), buffer + written);
    if (written > 0) return static_cast<std::ptrdiff_t>(written);
  }
}

standard_streams::standard_streams() : state_(std::make_unique<state>()) {
  // Redirected input is taken byte for byte, as on other platforms.
  if (state_->input_console == nullptr) _setmode(input_fd, _O_BINARY);
}

standard_streams::~standard_streams() = default;

bool standard_streams::input_interactive() const { return state_->input_console != nullptr; }

bool standard_streams::output_interactive() const { return state_->output_console != nullptr; }

std::ptrdiff_t standard_streams::read(char* buffer, std::size_t size) {
  if (state_->input_console != nullptr) return state_->read_console(buffer, size);
  const int n = _read(input_fd, buffer, static_cast<unsigned>(size < max_piece ? size : max_piece));
  if (n >= 0) return n;
  state_->reason = std::strerror(errno);
  return failed;
}

bool standard_streams::write(std::string_view gbk) {
  if (state_->output_console != nullptr) {
    if (write_console(state_->output_console, gbk.data(), gbk.size())) return true;
    state_->reason = system_message(GetLastError());
    return false;
  }
  if (write_all(output_fd, gbk.data(), gbk.size())) return true;
  state_->reason = std::strerror(errno);
  return false;
}

bool standard_streams::clear_terminal() {
  std::system("cls");
  return true;
}

bool standard_streams::wait_for_key(std::string_view) {
  std::system("pause");  // shows its own prompt, and ends its line
  return true;
}

std::string standard_streams::failure_reason() const { return state_->reason; }

void standard_streams::report(std::string_view line) {
  const std::string with_end = std::string(line) + "\n";
  // Standard error is the last resort: if it fails too, nothing can tell.
  static_cast<void>(write_all(error_fd, with_end.data(), with_end.size()));
}

}  // namespace luling::os
