// The console on Windows, as Python treats it: on a console, text goes in
// and out as UTF-16 through ReadConsoleW and WriteConsoleW, whatever the
// console's code page; clearing and waiting are the command interpreter's
// "cls" and "pause". Redirected, output is the texts' GBK bytes with CR LF
// line ends (text mode) and input is taken byte for byte. What these calls
// mean is decided in windows_rules.h; this file only makes them.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "console/os.h"
#include "console/windows_rules.h"

namespace luling::os {
namespace {

using namespace windows_rules;

constexpr int input_fd = 0;
constexpr int output_fd = 1;
constexpr int error_fd = 2;
// The code page of the texts' bytes: GBK.
constexpr UINT gbk_code_page = 936;

// The standard handle `which` if it is a console, else null.
HANDLE console(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// Wide text as GBK, the screens' encoding; a character GBK lacks becomes a
// question mark.
std::string to_gbk(std::wstring_view text) {
  const int length = WideCharToMultiByte(gbk_code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string gbk(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(gbk_code_page, 0, text.data(), static_cast<int>(text.size()), gbk.data(), length, nullptr,
                      nullptr);
  return gbk;
}

// The system's words for a failed Windows call, as GBK: in the user's
// language, or else in English, or else its number.
std::string system_message(DWORD error) {
  const DWORD user_then_english[] = {static_cast<DWORD>(MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT)),
                                     static_cast<DWORD>(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US))};
  for (const DWORD language : user_then_english) {
    wchar_t message[512];
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, language,
                                  message, 512, nullptr);
    while (length > 0 && std::wstring_view(L"\r\n.\u3002").find(message[length - 1]) != std::wstring_view::npos) {
      --length;
    }
    if (length > 0) return to_gbk(std::wstring_view(message, length));
  }
  return "error " + std::to_string(error);
}

// Writes all bytes through the C runtime (text mode: LF becomes CR LF);
// false, with errno set, if they cannot be written.
bool write_all(int fd, const char* data, std::size_t size) {
  return write_in_pieces(data, size, [fd](const char* piece, std::size_t n) {
    return _write(fd, piece, static_cast<unsigned>(n));
  });
}

// Shows GBK bytes on the console as UTF-16, LF as CR LF; false, with the
// system's error set, if the console takes them not.
bool write_console(HANDLE handle, const char* data, std::size_t size) {
  const int length = MultiByteToWideChar(gbk_code_page, 0, data, static_cast<int>(size), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(gbk_code_page, 0, data, static_cast<int>(size), wide.data(), length);
  const std::wstring lines = with_crlf(wide);
  return write_in_pieces(lines.data(), lines.size(), [handle](const wchar_t* piece, std::size_t n) {
    DWORD written = 0;
    if (!WriteConsoleW(handle, piece, static_cast<DWORD>(n), &written, nullptr)) return -1LL;
    if (written == 0) SetLastError(ERROR_WRITE_FAULT);
    return static_cast<long long>(written);
  });
}

// The console's line-edited input through ReadConsoleW.
class console_units final : public unit_source {
 public:
  console_units(HANDLE handle, std::string& reason) : handle_(handle), reason_(reason) {}

  outcome read(wchar_t* units, std::size_t size, std::size_t& got) override {
    DWORD n = 0;
    SetLastError(ERROR_SUCCESS);
    if (!ReadConsoleW(handle_, units, static_cast<DWORD>(size), &n, nullptr)) {
      reason_ = system_message(GetLastError());
      return outcome::failed;
    }
    got = n;
    return n == 0 && GetLastError() == ERROR_OPERATION_ABORTED ? outcome::aborted : outcome::units;
  }

 private:
  HANDLE handle_;
  std::string& reason_;
};

}  // namespace

struct standard_streams::state {
  HANDLE input_console = console(STD_INPUT_HANDLE);    // null when redirected
  HANDLE output_console = console(STD_OUTPUT_HANDLE);  // null when redirected
  HANDLE error_console = console(STD_ERROR_HANDLE);    // null when redirected
  std::string reason;  // why the last read or write failed
  console_units units{input_console, reason};
  console_input typed{units};
};

standard_streams::standard_streams() : state_(std::make_unique<state>()) {
  // Redirected input is taken byte for byte, as on other platforms.
  if (state_->input_console == nullptr) _setmode(input_fd, _O_BINARY);
}

standard_streams::~standard_streams() = default;

bool standard_streams::input_interactive() const { return state_->input_console != nullptr; }

bool standard_streams::output_interactive() const { return state_->output_console != nullptr; }

bool standard_streams::can_clear() const { return true; }

std::ptrdiff_t standard_streams::read(char* buffer, std::size_t size) {
  if (state_->input_console != nullptr) return state_->typed.read(buffer, size);
  const int n = _read(input_fd, buffer, static_cast<unsigned>(std::min(size, max_piece)));
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
  state_->reason = std::strerror(is_broken_pipe(_doserrno) ? EPIPE : errno);
  return false;
}

bool standard_streams::clear_terminal() {
  std::system("cls");
  return true;
}

bool standard_streams::wait_for_key(std::string_view prompt) {
  const pause_plan plan = plan_pause(state_->output_console != nullptr);
  if (plan.own_prompt && !write(prompt)) return false;
  std::system(plan.command);
  // pause takes one key: the rest of a committed phrase or a paste would be
  // read as the next number.
  FlushConsoleInputBuffer(state_->input_console);
  return !plan.own_prompt || write("\n");
}

std::string standard_streams::failure_reason() const { return state_->reason; }

void standard_streams::write_error(std::string_view bytes) {
  // Standard error is the last resort: if it fails too, nothing can tell.
  if (state_->error_console != nullptr) {
    static_cast<void>(write_console(state_->error_console, bytes.data(), bytes.size()));
  } else {
    static_cast<void>(write_all(error_fd, bytes.data(), bytes.size()));
  }
}

void standard_streams::end(int status) { std::exit(status); }

}  // namespace luling::os
