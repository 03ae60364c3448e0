// Where key presses end in the bytes a terminal sends, so that a wait for a
// key can tell whether the bytes it has taken end inside one: an escape
// sequence (an arrow, a function key) or a character split across reads.
#pragma once

#include <cstddef>
#include <string_view>

namespace luling {

// Where characters end in the terminal's encoding.
class character_rules {
 public:
  // For bytes that start a character: its length if they hold all of it, 0
  // if they are cut short, -1 if they start no valid character.
  virtual int measure(const unsigned char* bytes, std::size_t size) const = 0;

 protected:
  ~character_rules() = default;
};

class key_scanner {
 public:
  explicit key_scanner(const character_rules& rules) : rules_(rules) {}

  // Follows bytes that the terminal sent, in order.
  void take(std::string_view bytes);
  // True while the last key's bytes are cut short: the rest of an escape
  // sequence or of a character is yet to come.
  bool incomplete() const { return state_ != state::start; }

 private:
  enum class state {
    start,
    escape,     // after ESC
    csi_first,  // after ESC [
    csi,        // inside ESC [ ... before its final byte
    one_more,   // exactly one byte left (ESC O x, ESC [ [ x)
    character,  // inside a character of more than one byte
  };

  void step(unsigned char byte);
  void character_byte(unsigned char byte);

  const character_rules& rules_;
  state state_ = state::start;
  unsigned char pending_[8];  // the character's bytes so far
  std::size_t pending_size_ = 0;
};

}  // namespace luling
