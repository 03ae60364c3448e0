// The console on a POSIX terminal: clearing with escape sequences, one key
// taken in non-canonical mode, GBK texts converted for a terminal in another
// encoding. Input and output that are not terminals get plain bytes.
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "console/keys.h"
#include "console/os.h"
#include "console/texts.h"

namespace luling::os {
namespace {

constexpr int input_fd = STDIN_FILENO;
constexpr int output_fd = STDOUT_FILENO;

// ESC [ H: cursor home; ESC [ 2 J: erase the screen; ESC [ 3 J: erase the
// scrollback.
constexpr std::string_view clear_sequence = "\x1b[H\x1b[2J\x1b[3J";
// Form feed: what a screen clear leaves in a transcript or on a dumb terminal.
constexpr std::string_view form_feed = "\f";
// How long the later bytes of one key press may lag behind its first.
constexpr int key_sequence_ms = 50;

// The terminal's own settings and those of the wait, for the signal handlers.
struct termios saved_settings;
struct termios key_settings;
volatile sig_atomic_t settings_changed = 0;

// Puts the terminal's own settings back if a wait changed them; safe in a
// signal handler.
void put_terminal_back() {
  if (settings_changed) tcsetattr(input_fd, TCSANOW, &saved_settings);
}

// Waits until `fd` is ready for `events` (after EAGAIN on a non-blocking fd).
void await(int fd, short events) {
  pollfd p{fd, events, 0};
  while (poll(&p, 1, -1) < 0 && errno == EINTR) {
  }
}

// Finishes a write that the first write(2) did not complete; a stream that
// cannot be written to ends the process with a failure status.
[[gnu::noinline]] void write_rest(const char* data, std::size_t size, ssize_t written) {
  for (ssize_t n = written;; n = ::write(output_fd, data, size)) {
    if (n > 0) {
      data += n;
      size -= static_cast<std::size_t>(n);
      if (size == 0) return;
    } else if (n < 0 && errno == EAGAIN) {
      await(output_fd, POLLOUT);
    } else if (n == 0 || errno != EINTR) {
      put_terminal_back();
      std::_Exit(EXIT_FAILURE);
    }
  }
}

// Writes all bytes to standard output; almost always in one write(2).
void write_all(const char* data, std::size_t size) {
  const ssize_t n = ::write(output_fd, data, size);
  if (n >= 0 && static_cast<std::size_t>(n) == size) return;
  write_rest(data, size, n);
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
  for (std::string_view name : {"GBK", "GB18030", "CP936", "MS936", "WINDOWS936", "EUCCN", "GB2312"}) {
    if (key == name) return true;
  }
  return false;
}

// The terminal's codeset; the plain C locale's ASCII means a terminal set up
// for nothing in particular, taken to be UTF-8.
std::string terminal_codeset() {
  std::string codeset = locale_codeset();
  if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "ASCII") return "UTF-8";
  return codeset;
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
  if (settings_changed) tcsetattr(input_fd, TCSANOW, &key_settings);
  errno = saved_errno;
}

// A signal and what the wait does on it.
struct signal_handling {
  int signal_number;
  void (*handler)(int);
};
constexpr signal_handling wait_signals[] = {
    {SIGINT, restore_and_reraise},  {SIGTERM, restore_and_reraise},
    {SIGHUP, restore_and_reraise},  {SIGQUIT, restore_and_reraise},
    {SIGPIPE, restore_and_reraise},  // output gone while the prompt is shown
    {SIGTSTP, suspend_and_resume},
};

// Non-canonical, no-echo input for the life of the object; the terminal's
// own settings come back on every way out, also through a signal.
class key_mode {
 public:
  key_mode() {
    if (tcgetattr(input_fd, &saved_settings) != 0) return;
    key_settings = saved_settings;
    key_settings.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    key_settings.c_cc[VMIN] = 1;
    key_settings.c_cc[VTIME] = 0;
    for (std::size_t i = 0; i < std::size(wait_signals); ++i) {
      struct sigaction handler {};
      handler.sa_handler = wait_signals[i].handler;
      sigemptyset(&handler.sa_mask);
      sigaction(wait_signals[i].signal_number, nullptr, &previous_[i]);
      if (previous_[i].sa_handler != SIG_IGN) sigaction(wait_signals[i].signal_number, &handler, nullptr);
    }
    settings_changed = 1;
    active_ = tcsetattr(input_fd, TCSANOW, &key_settings) == 0;
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
    for (std::size_t i = 0; i < std::size(wait_signals); ++i) {
      sigaction(wait_signals[i].signal_number, &previous_[i], nullptr);
    }
  }

 private:
  struct sigaction previous_[std::size(wait_signals)] {};
  bool active_ = false;
};

// Reads one byte of input, waiting at most `timeout_ms` (-1: for ever).
bool read_byte(unsigned char& byte, int timeout_ms) {
  for (;;) {
    pollfd p{input_fd, POLLIN, 0};
    const int ready = poll(&p, 1, timeout_ms);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t n = ::read(input_fd, &byte, 1);
    if (n == 1) return true;
    if (n == 0 || (errno != EINTR && errno != EAGAIN)) return false;
  }
}

// Takes the bytes of one key press from the terminal, which must be in key
// mode.
void take_key(key_encoding encoding) {
  key_scanner scanner(encoding);
  unsigned char byte;
  if (!read_byte(byte, -1)) return;
  while (scanner.wants_more(byte) && read_byte(byte, key_sequence_ms)) {
  }
}

}  // namespace

struct standard_streams::state {
  bool input_terminal = isatty(input_fd) == 1;
  bool output_terminal = isatty(output_fd) == 1;
  bool can_clear = output_terminal && terminal_can_clear();
  std::string codeset = input_terminal || output_terminal ? terminal_codeset() : std::string();
  bool gbk_terminal = is_gbk_family(codeset);
  // GBK to the terminal's encoding; none when bytes go out unchanged.
  iconv_t to_display = output_terminal && !gbk_terminal
                           ? iconv_open((codeset + "//TRANSLIT").c_str(), "GBK")
                           : iconv_t(-1);
  bool converting() const { return to_display != iconv_t(-1); }
  void write_converted(const char* data, std::size_t size);
};

// Converts GBK bytes for display; a character the terminal cannot show
// becomes a question mark.
void standard_streams::state::write_converted(const char* data, std::size_t size) {
  char converted[1024];
  char* in = const_cast<char*>(data);
  while (size > 0) {
    char* out = converted;
    std::size_t room = sizeof converted;
    const std::size_t result = iconv(to_display, &in, &size, &out, &room);
    if (result == std::size_t(-1) && errno != E2BIG) {
      const std::size_t skip = static_cast<unsigned char>(*in) >= 0x81 && size >= 2 ? 2 : 1;
      in += skip;
      size -= skip;
      if (room > 0) *out++ = '?';
    }
    write_all(converted, static_cast<std::size_t>(out - converted));
  }
  iconv(to_display, nullptr, nullptr, nullptr, nullptr);
}

standard_streams::standard_streams() : state_(std::make_unique<state>()) {}

standard_streams::~standard_streams() {
  if (state_->converting()) iconv_close(state_->to_display);
}

std::size_t standard_streams::read(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(input_fd, buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno == EAGAIN) {
      await(input_fd, POLLIN);
    } else if (errno != EINTR) {
      return 0;  // an input that fails is an input that has ended
    }
  }
}

void standard_streams::write(const char* data, std::size_t size) {
  if (state_->converting()) {
    state_->write_converted(data, size);
  } else {
    write_all(data, size);
  }
}

void standard_streams::clear_screen(output& out) {
  out.write(state_->can_clear ? clear_sequence : form_feed);
}

void standard_streams::wait_for_key(output& out) {
  out.write(pause_prompt);
  if (state_->input_terminal) {
    // Key mode starts before the prompt shows, so that no key is echoed.
    key_mode mode;
    if (mode.active()) {
      out.flush();
      take_key(state_->gbk_terminal ? key_encoding::gbk : key_encoding::utf8);
    }
  }
  out.line_end();
}

}  // namespace luling::os
