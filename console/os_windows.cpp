// The console on Windows: the command interpreter's "cls" and "pause" on a
// real console, GBK texts shown through UTF-16 where the console's code page
// is not 936, and plain bytes (text mode, CR LF line ends) when redirected.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "console/os.h"
#include "console/texts.h"

namespace luling::os {
namespace {

constexpr int input_fd = 0;
constexpr int output_fd = 1;
// The code page of the texts' bytes: GBK.
constexpr UINT gbk_code_page = 936;
// What "cls" itself writes when its output is redirected.
constexpr std::string_view form_feed = "\f";
// The largest piece handed to one _write or WriteConsoleW call.
constexpr std::size_t max_piece = 1 << 15;

bool is_console(DWORD which) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

// Writes all bytes through the C runtime (text mode: LF becomes CR LF); a
// stream that cannot be written to ends the process with a failure status.
void write_all(const char* data, std::size_t size) {
  while (size > 0) {
    const unsigned piece = static_cast<unsigned>(size < max_piece ? size : max_piece);
    const int n = _write(output_fd, data, piece);
    if (n <= 0) std::_Exit(EXIT_FAILURE);
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

// Shows GBK bytes on a console of another code page, as UTF-16.
void write_wide(const char* data, std::size_t size) {
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
      std::_Exit(EXIT_FAILURE);
    }
    done += static_cast<std::size_t>(piece);
  }
}

}  // namespace

struct standard_streams::state {
  bool input_console = is_console(STD_INPUT_HANDLE);
  bool output_console = is_console(STD_OUTPUT_HANDLE);
  // Texts go out as UTF-16 only on a console that would misread GBK.
  bool wide_output = output_console && GetConsoleOutputCP() != gbk_code_page;
};

standard_streams::standard_streams() : state_(std::make_unique<state>()) {
  // Redirected input is taken byte for byte, as on other platforms; a
  // console keeps text mode, where Ctrl-Z then Enter ends the input.
  if (!state_->input_console) _setmode(input_fd, _O_BINARY);
}

standard_streams::~standard_streams() = default;

std::size_t standard_streams::read(char* buffer, std::size_t size) {
  const int n = _read(input_fd, buffer, static_cast<unsigned>(size < max_piece ? size : max_piece));
  return n > 0 ? static_cast<std::size_t>(n) : 0;  // an input that fails has ended
}

void standard_streams::write(const char* data, std::size_t size) {
  if (state_->wide_output) {
    write_wide(data, size);
  } else {
    write_all(data, size);
  }
}

void standard_streams::clear_screen(output& out) {
  if (state_->output_console) {
    out.flush();
    std::system("cls");
  } else {
    out.write(form_feed);
  }
}

void standard_streams::wait_for_key(output& out) {
  if (state_->input_console) {
    out.flush();
    std::system("pause");
  } else {
    out.write(pause_prompt);
    out.line_end();
  }
}

}  // namespace luling::os
