#include "console/keys.h"

namespace luling {
namespace {

constexpr unsigned char escape = 0x1B;  // ESC: starts a terminal key sequence

// A control sequence (ESC [) ends with a byte from @ to ~.
constexpr bool is_csi_final(unsigned char byte) { return byte >= 0x40 && byte <= 0x7E; }

}  // namespace

void key_scanner::take(std::string_view bytes) {
  for (const char byte : bytes) step(static_cast<unsigned char>(byte));
}

void key_scanner::step(unsigned char byte) {
  switch (state_) {
    case state::start:
      if (byte == escape) {
        state_ = state::escape;
      } else if (byte >= 0x80) {
        pending_size_ = 0;
        character_byte(byte);
      }
      return;
    case state::escape:
      if (byte == '[') {
        state_ = state::csi_first;
      } else if (byte == 'O') {
        state_ = state::one_more;  // ESC O P: F1 and keypad keys
      } else if (byte >= 0x80) {
        pending_size_ = 0;  // Alt with a character outside ASCII
        character_byte(byte);
      } else if (byte != escape) {
        state_ = state::start;  // Alt with a key; ESC ESC goes on as Alt
      }
      return;
    case state::csi_first:
      if (byte == '[') {
        state_ = state::one_more;  // Linux console: ESC [ [ A
        return;
      }
      [[fallthrough]];
    case state::csi:
      state_ = is_csi_final(byte) ? state::start : state::csi;
      return;
    case state::one_more:
      state_ = state::start;
      return;
    case state::character:
      character_byte(byte);
      return;
  }
}

void key_scanner::character_byte(unsigned char byte) {
  pending_[pending_size_++] = byte;
  const int length = rules_.measure(pending_, pending_size_);
  if (length == 0 && pending_size_ < sizeof pending_) {
    state_ = state::character;  // cut short: the rest is yet to come
    return;
  }
  state_ = state::start;
  // A byte that breaks the character off starts the next key.
  if (length < 0 && pending_size_ > 1) step(byte);
}

}  // namespace luling
