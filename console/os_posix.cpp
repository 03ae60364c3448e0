// The console on a POSIX terminal: clearing with escape sequences, a key
// taken in non-canonical mode, GBK texts converted for a terminal in another
// encoding. Input and output that are not terminals get plain bytes.
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "console/os.h"

// The system calls that can fail, wait or tell about a terminal go through
// this, so that a test can build this file over stand-ins of its own
// (tests/os_test.cpp) and make them fail. Here, each is the C library's.
#ifndef LULING_SYSTEM
#define LULING_SYSTEM(call) ::call
#endif

namespace luling::os {
namespace {

constexpr int input_fd = STDIN_FILENO;
constexpr int output_fd = STDOUT_FILENO;
constexpr int error_fd = STDERR_FILENO;

// ESC [ H: cursor home; ESC [ 2 J: erase the screen; ESC [ 3 J: erase the
// scrollback.
constexpr std::string_view clear_sequence = "\x1b[H\x1b[2J\x1b[3J";
// How long input must be quiet before a wait for a key ends. The rest of an
// escape sequence, of a character, of a phrase committed by an input method
// or of a paste that the terminal hands over in pieces follows sooner; a
// person's next key press, after the screen that the key brings, later.
constexpr int quiet_ms = 50;
// The most bytes one key press takes: a long paste ends there.
constexpr std::size_t max_key_bytes = std::size_t{1} << 20;

// For the signal handlers: the terminal's own settings, the wait's, and
// whether the wait has changed them.
struct termios saved_settings;
struct termios key_settings;
volatile sig_atomic_t settings_changed = 0;

// Puts the terminal's own settings back if a wait changed them; safe in a
// signal handler.
void put_terminal_back() {
  if (settings_changed) LULING_SYSTEM(tcsetattr(input_fd, TCSANOW, &saved_settings));
}

// Waits until `fd` is ready for `events` (after EAGAIN on a non-blocking fd).
void await(int fd, short events) {
  pollfd p{fd, events, 0};
  while (LULING_SYSTEM(poll(&p, 1, -1)) < 0 && errno == EINTR) {
  }
}

// Writes all bytes to `fd`; false, with errno set, if they cannot be.
bool write_all(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = LULING_SYSTEM(write(fd, data, size));
    if (n > 0) {
      data += n;
      size -= static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EAGAIN) {
      await(fd, POLLOUT);
    } else if (n == 0 || errno != EINTR) {
      if (n == 0) errno = EIO;
      return false;
    }
  }
  return true;
}

// The character set of the user's locale, read without changing the
// process's own locale.
std::string locale_codeset() {
  if (locale_t loc = newlocale(LC_CTYPE_MASK, "", locale_t{}); loc != locale_t{}) {
    std::string codeset = nl_langinfo_l(CODESET, loc);
    freelocale(loc);
    return codeset;
  }
  // The locale is not installed: its name may still say the codeset.
  const char* name = nullptr;
  for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    name = std::getenv(var);
    if (name != nullptr && *name != '\0') break;
  }
  if (name == nullptr) return {};
  std::string_view codeset = name;
  const auto dot = codeset.find('.');
  if (dot == std::string_view::npos) return {};
  codeset.remove_prefix(dot + 1);
  return std::string(codeset.substr(0, codeset.find('@')));
}

// True for the encodings whose bytes are the texts' own.
bool is_gbk_family(std::string_view codeset) {
  std::string key;
  for (char c : codeset) {
    if (c == '-' || c == '_') continue;
    key += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  }
  constexpr std::string_view names[] = {"GBK", "GB18030", "CP936", "MS936", "WINDOWS936", "EUCCN", "GB2312"};
  return std::any_of(std::begin(names), std::end(names), [&](std::string_view name) { return key == name; });
}

// The terminal's codeset; the plain C locale's ASCII means a terminal set up
// for nothing in particular, taken to be UTF-8. A codeset the system cannot
// convert to, or one that does not keep ASCII, is taken to be UTF-8 too,
// where the converter is opened.
std::string terminal_codeset() {
  std::string codeset = locale_codeset();
  if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "ASCII") return "UTF-8";
  return codeset;
}

// True if `cd` gives back byte for byte the ASCII that the program writes:
// the clear sequence, line ends and the form feed, and the texts' own.
bool keeps_ascii(iconv_t cd) {
  static constexpr std::string_view probe = "\x1b[H\x1b[2J\x1b[3J\f\r\n (+-.0123456789";
  char converted[64];
  char* in = const_cast<char*>(probe.data());
  std::size_t in_left = probe.size();
  char* out = converted;
  std::size_t room = sizeof converted;
  const bool done = iconv(cd, &in, &in_left, &out, &room) != std::size_t(-1);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  return done && std::string_view(converted, sizeof converted - room) == probe;
}

bool terminal_can_clear() {
  const char* term = std::getenv("TERM");
  return term != nullptr && *term != '\0' && std::strcmp(term, "dumb") != 0;
}

// Puts the terminal back, then lets the signal end the process as it would
// have without us.
extern "C" void restore_and_reraise(int signal_number) {
  put_terminal_back();
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

// Ctrl-Z: puts the terminal back, stops, and on being continued takes up the
// wait's settings again.
extern "C" void suspend_and_resume(int signal_number) {
  const int saved_errno = errno;
  put_terminal_back();
  ::signal(signal_number, SIG_DFL);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, signal_number);
  sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  ::raise(signal_number);  // stops here until continued
  sigprocmask(SIG_BLOCK, &stop, nullptr);
  ::signal(signal_number, suspend_and_resume);
  if (settings_changed) LULING_SYSTEM(tcsetattr(input_fd, TCSANOW, &key_settings));
  errno = saved_errno;
}

// What the wait does on a signal: gives the terminal back before every
// signal that would end the process, and while Ctrl-Z stops it. Signals
// that cannot be caught, that stop, or that are ignored by default are left
// alone.
void (*wait_handler(int signal_number))(int) {
  switch (signal_number) {
    case SIGTSTP:
      return suspend_and_resume;
    case SIGKILL: case SIGSTOP: case SIGTTIN: case SIGTTOU:
    case SIGCHLD: case SIGCONT: case SIGURG: case SIGWINCH:
      return nullptr;
    default:
      return restore_and_reraise;
  }
}

// Non-canonical, no-echo input for the life of the object; the terminal's
// own settings come back on every way out, also through a signal.
class key_mode {
 public:
  key_mode() {
    if (LULING_SYSTEM(tcgetattr(input_fd, &saved_settings)) != 0) return;
    key_settings = saved_settings;
    key_settings.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    key_settings.c_cc[VMIN] = 1;
    key_settings.c_cc[VTIME] = 0;
    for (int signal_number = 1; signal_number < NSIG; ++signal_number) {
      const auto handler = wait_handler(signal_number);
      // Some numbers are the C library's own and refused: left as they are.
      if (handler == nullptr || sigaction(signal_number, nullptr, &previous_[signal_number]) != 0) continue;
      if (previous_[signal_number].sa_handler == SIG_IGN) continue;
      struct sigaction action {};
      action.sa_handler = handler;
      // Nothing else interrupts giving the terminal back; Ctrl-Z must be
      // free to stop the process inside its handler.
      if (handler == restore_and_reraise) sigfillset(&action.sa_mask);
      else sigemptyset(&action.sa_mask);
      installed_[signal_number] = sigaction(signal_number, &action, nullptr) == 0;
    }
    settings_changed = 1;
    active_ = LULING_SYSTEM(tcsetattr(input_fd, TCSANOW, &key_settings)) == 0;
    if (!active_) restore();
  }
  ~key_mode() { restore(); }
  key_mode(const key_mode&) = delete;
  key_mode& operator=(const key_mode&) = delete;

  bool active() const { return active_; }

  // Safe to call more than once.
  void restore() {
    if (!settings_changed) return;
    put_terminal_back();
    settings_changed = 0;
    for (int signal_number = 1; signal_number < NSIG; ++signal_number) {
      if (installed_[signal_number]) sigaction(signal_number, &previous_[signal_number], nullptr);
      installed_[signal_number] = false;
    }
  }

 private:
  struct sigaction previous_[NSIG] {};
  bool installed_[NSIG] {};
  bool active_ = false;
};

// Reads what input has arrived, waiting at most `timeout_ms` for some (-1:
// for ever); 0 if none came, at the end of input, or if reading failed.
std::size_t read_within(char* buffer, std::size_t size, int timeout_ms) {
  for (;;) {
    pollfd p{input_fd, POLLIN, 0};
    const int ready = LULING_SYSTEM(poll(&p, 1, timeout_ms));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return 0;
    const ssize_t n = LULING_SYSTEM(read(input_fd, buffer, size));
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR && errno != EAGAIN) return 0;
  }
}

// Takes one key press from a terminal in key mode: the first bytes, then
// all that follows them with no pause as long as quiet_ms.
void take_key() {
  char bytes[4096];
  std::size_t taken = 0;
  for (int timeout_ms = -1; taken < max_key_bytes; timeout_ms = quiet_ms) {
    const std::size_t n = read_within(bytes, sizeof bytes, timeout_ms);
    if (n == 0) return;
    taken += n;
  }
}

// Takes one line from a terminal left in its own mode; false if the input
// ended or failed before a line end.
bool take_line() {
  char bytes[4096];
  for (;;) {
    const std::size_t n = read_within(bytes, sizeof bytes, -1);
    if (n == 0) return false;
    if (std::memchr(bytes, '\n', n) != nullptr) return true;
  }
}

}  // namespace

struct standard_streams::state {
  bool input_terminal = LULING_SYSTEM(isatty(input_fd)) == 1;
  bool output_terminal = LULING_SYSTEM(isatty(output_fd)) == 1;
  // Only this terminal's settings can be given back on every way out: its
  // interrupt and suspend keys reach this process.
  bool controlling_terminal = input_terminal && LULING_SYSTEM(tcgetsid(input_fd)) == getsid(0);
  bool can_clear = terminal_can_clear();
  std::string codeset = input_terminal || output_terminal ? terminal_codeset() : std::string();
  // GBK to the terminal's encoding; none when bytes go out unchanged.
  iconv_t to_display = output_terminal && !is_gbk_family(codeset) ? open_display() : iconv_t(-1);
  int error = 0;  // errno of the last failed read or write

  // GBK to the terminal's codeset, or to UTF-8 where the system cannot
  // convert to it or where it does not keep ASCII as it is (UTF-16, UTF-7,
  // EBCDIC): no terminal shows escape sequences in those.
  iconv_t open_display() const {
    const iconv_t cd = iconv_open((codeset + "//TRANSLIT").c_str(), "GBK");
    if (cd != iconv_t(-1) && keeps_ascii(cd)) return cd;
    if (cd != iconv_t(-1)) iconv_close(cd);
    return iconv_open("UTF-8", "GBK");
  }
  bool converting() const { return to_display != iconv_t(-1); }
  bool write_converted(const char* data, std::size_t size);
};

// Converts GBK bytes for display; a character the terminal cannot show
// becomes a question mark.
bool standard_streams::state::write_converted(const char* data, std::size_t size) {
  char converted[1024];
  char* in = const_cast<char*>(data);
  bool written = true;
  while (size > 0 && written) {
    char* out = converted;
    std::size_t room = sizeof converted;
    const std::size_t result = iconv(to_display, &in, &size, &out, &room);
    if (result == std::size_t(-1) && errno != E2BIG) {
      const std::size_t skip = static_cast<unsigned char>(*in) >= 0x81 && size >= 2 ? 2 : 1;
      in += skip;
      size -= skip;
      if (room > 0) *out++ = '?';
    }
    written = write_all(output_fd, converted, static_cast<std::size_t>(out - converted));
  }
  iconv(to_display, nullptr, nullptr, nullptr, nullptr);
  return written;
}

standard_streams::standard_streams() : state_(std::make_unique<state>()) {}

standard_streams::~standard_streams() {
  if (state_->converting()) iconv_close(state_->to_display);
}

bool standard_streams::input_interactive() const { return state_->input_terminal; }

bool standard_streams::output_interactive() const { return state_->output_terminal; }

bool standard_streams::can_clear() const { return state_->can_clear; }

std::ptrdiff_t standard_streams::read(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = LULING_SYSTEM(read(input_fd, buffer, size));
    if (n >= 0) return n;
    if (errno == EAGAIN) {
      await(input_fd, POLLIN);
    } else if (errno != EINTR) {
      state_->error = errno;
      return failed;
    }
  }
}

bool standard_streams::write(std::string_view gbk) {
  const bool written = state_->converting() ? state_->write_converted(gbk.data(), gbk.size())
                                            : write_all(output_fd, gbk.data(), gbk.size());
  if (!written) state_->error = errno;
  return written;
}

bool standard_streams::clear_terminal() { return write(clear_sequence); }

bool standard_streams::wait_for_key(std::string_view prompt) {
  const state& s = *state_;
  if (!s.controlling_terminal) {
    // No interrupt key reaches the process from this terminal, so nothing
    // could give its settings back: they stay, and a line end ends the wait.
    return write(prompt) && (take_line() || write("\n"));
  }
  key_mode mode;  // before the prompt shows, so that no early key is echoed
  if (!write(prompt)) return false;
  if (mode.active()) take_key();
  mode.restore();
  return write("\n");
}

std::string standard_streams::failure_reason() const { return std::strerror(state_->error); }

void standard_streams::write_error(std::string_view bytes) {
  static_cast<void>(write_all(error_fd, bytes.data(), bytes.size()));
}

void standard_streams::end(int status) { std::exit(status); }

}  // namespace luling::os
