// Where one key press ends in the bytes a terminal sends for it, so that a
// key which sends several bytes (an arrow, a function key, a Chinese
// character) is taken whole and none of its bytes is left for the reader.
#pragma once

namespace luling {

// How the terminal encodes characters outside ASCII.
enum class key_encoding {
  utf8,  // lead byte tells the length
  gbk,   // two bytes, or four in GB18030
};

class key_scanner {
 public:
  explicit key_scanner(key_encoding encoding) : encoding_(encoding) {}

  // Takes the next byte of the key press; true while more bytes belong to it.
  bool wants_more(unsigned char byte);

 private:
  enum class state {
    start,
    escape,         // after ESC
    csi_first,      // after ESC [
    csi,            // inside ESC [ ... before its final byte
    one_more,       // exactly one byte left (ESC O x, ESC [ [ x)
    continuation,   // `left` more bytes of a multibyte character
    gb18030_third,  // after the two first bytes of a four-byte GB18030 one
    gbk_second,     // after a GBK lead byte
  };

  bool start(unsigned char byte);
  bool after_escape(unsigned char byte);
  bool in_csi(unsigned char byte);
  bool more(state next, int left = 0) {
    state_ = next;
    left_ = left;
    return true;
  }

  key_encoding encoding_;
  state state_ = state::start;
  int left_ = 0;
};

}  // namespace luling
