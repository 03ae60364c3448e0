#include "console/keys.h"

namespace luling {
namespace {

constexpr unsigned char escape = 0x1B;  // ESC: starts a terminal key sequence

// A control sequence (ESC [) ends with a byte from @ to ~.
constexpr bool is_csi_final(unsigned char byte) { return byte >= 0x40 && byte <= 0x7E; }

}  // namespace

bool key_scanner::wants_more(unsigned char byte) {
  switch (state_) {
    case state::start:
      return start(byte);
    case state::escape:
      return after_escape(byte);
    case state::csi_first:
      if (byte == '[') return more(state::one_more);  // Linux console: ESC [ [ A
      return in_csi(byte);
    case state::csi:
      return in_csi(byte);
    case state::one_more:
      return false;
    case state::continuation:
      // A byte that is no continuation byte breaks the character off.
      if ((byte & 0xC0) != 0x80) return false;
      return --left_ > 0;
    case state::gbk_second:
      // GB18030 four-byte characters have a digit as their second byte.
      if (byte >= '0' && byte <= '9') return more(state::gb18030_third);
      return false;
    case state::gb18030_third:
      return more(state::one_more);
  }
  return false;
}

bool key_scanner::start(unsigned char byte) {
  if (byte == escape) return more(state::escape);
  if (byte < 0x80) return false;
  if (encoding_ == key_encoding::gbk) return byte >= 0x81 && byte <= 0xFE && more(state::gbk_second);
  if (byte >= 0xC0 && byte <= 0xDF) return more(state::continuation, 1);
  if (byte >= 0xE0 && byte <= 0xEF) return more(state::continuation, 2);
  if (byte >= 0xF0 && byte <= 0xF7) return more(state::continuation, 3);
  return false;
}

bool key_scanner::after_escape(unsigned char byte) {
  if (byte == '[') return more(state::csi_first);
  if (byte == 'O') return more(state::one_more);  // ESC O P: F1 and keypad keys
  return false;                                   // Alt with a key
}

bool key_scanner::in_csi(unsigned char byte) {
  if (is_csi_final(byte)) return false;
  return more(state::csi);
}

}  // namespace luling
