// The console on Windows: the command interpreter's "cls" and "pause" on a
// real console, GBK texts shown through UTF-16 where the console's code page
// is not 936, and plain bytes (text mode, CR LF line ends) when redirected.
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
// The largest piece handed to one _write or WriteConsoleW call.
constexpr std::size_t max_piece = 1 << 15;

bool is_console(DWORD which) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(which), &mode) != 0;
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

// Shows GBK bytes on a console of another code page, as UTF-16.
bool write_wide(const char* data, std::size_t size) {
  std::wstring wide;
  for (std::size_t done = 0; done < size;) {
    // Pieces never split a character: the output hands over whole texts.
    const int piece = static_cast<int>(size - done < max_piece ? size - done : max_piece);
    const int length = MultiByteToWideChar(gbk_code_page, 0, data + done, piece, nullptr, 0);
    wide.resize(static_cast<std::size_t>(length));
    MultiByteToWideChar(gbk_code_page, 0, data + done, piece, wide.data(), length);
    std::wstring lines;  // LF as CR LF, as text mode writes it
    for (wchar_t c : wide) {
      if (c == L'\n') lines += L'\r';
      lines += c;
    }
    DWORD written = 0;
    if (!WriteConsoleW(GetStdHandle(STD_OUTPUT_HANDLE), lines.data(), static_cast<DWORD>(lines.size()),
                       &written, nullptr)) {
      return false;
    }
    done += static_cast<std::size_t>(piece);
  }
  return true;
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

}  // namespace

struct standard_streams::state {
  bool input_console = is_console(STD_INPUT_HANDLE);
  bool output_console = is_console(STD_OUTPUT_HANDLE);
  // Texts go out as UTF-16 only on a console that would misread GBK.
  bool wide_output = output_console && GetConsoleOutputCP() != gbk_code_page;
  std::string reason;  // why the last read or write failed
};

standard_streams::standard_streams() : state_(std::make_unique<state>()) {
  // Redirected input is taken byte for byte, as on other platforms; a
  // console keeps text mode, where Ctrl-Z then Enter ends the input.
  if (!state_->input_console) _setmode(input_fd, _O_BINARY);
}

standard_streams::~standard_streams() = default;

bool standard_streams::input_interactive() const { return state_->input_console; }

bool standard_streams::output_interactive() const { return state_->output_console; }

std::ptrdiff_t standard_streams::read(char* buffer, std::size_t size) {
  const int n = _read(input_fd, buffer, static_cast<unsigned>(size < max_piece ? size : max_piece));
  if (n >= 0) return n;
  state_->reason = std::strerror(errno);
  return failed;
}

bool standard_streams::write(std::string_view gbk) {
  if (state_->wide_output) {
    if (write_wide(gbk.data(), gbk.size())) return true;
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
  std::system("pause");  // shows its own prompt
  return true;
}

std::string standard_streams::failure_reason() const { return state_->reason; }

void standard_streams::report(std::string_view line) {
  const std::string with_end = std::string(line) + "\n";
  // Standard error is the last resort: if it fails too, nothing can tell.
  static_cast<void>(write_all(error_fd, with_end.data(), with_end.size()));
}

}  // namespace luling::os
