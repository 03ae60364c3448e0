// Key presses followed through the bytes a terminal sends: whether the bytes
// taken so far end inside an escape sequence or a character.
#include "console/keys.h"

#include <gtest/gtest.h>

#include <string>

#include "console/os_posix_character_rules.h"

namespace {

struct key_case {
  const char* name;
  std::string bytes;
  const char* codeset;
  bool incomplete;  // the rest of a key is still to come
};

const key_case cases[] = {
    {"letter", "a", "UTF-8", false},
    {"lone escape", "\x1b", "UTF-8", true},
    {"arrow up", "\x1b[A", "UTF-8", false},
    {"arrow cut after ESC [", "\x1b[", "UTF-8", true},
    {"arrow in application mode", "\x1bOA", "UTF-8", false},
    {"F1 as an SS3 sequence cut short", "\x1bO", "UTF-8", true},
    {"F5", "\x1b[15~", "UTF-8", false},
    {"F5 cut short", "\x1b[15", "UTF-8", true},
    {"Linux console F1", "\x1b[[A", "UTF-8", false},
    {"Linux console F1 cut short", "\x1b[[", "UTF-8", true},
    {"alt and a letter", "\x1bx", "UTF-8", false},
    {"alt and a chinese character", "\x1b\xE4\xBD\xA0", "UTF-8", false},
    {"alt and a chinese character cut short", "\x1b\xE4", "UTF-8", true},
    {"a phrase committed at once", "\xE4\xBD\xA0\xE5\xA5\xBD", "UTF-8", false},
    {"a pasted line", "12 30\n", "UTF-8", false},
    {"UTF-8 character cut short", "\xE4\xBD\xA0\xE5\xA5", "UTF-8", true},
    {"a broken byte is not waited on", "\xFF", "UTF-8", false},
    {"escape after a broken character", "\xE4\x1b", "UTF-8", true},
    {"arrow after a phrase", "\xE4\xBD\xA0\x1b[A", "UTF-8", false},
    {"GBK character", "\xC4\xE3", "GBK", false},
    {"GBK character cut short", "\xC4\xE3\xBA", "GBK", true},
    {"GB18030 four-byte character", "\x81\x30\x81\x30", "GB18030", false},
    {"GB18030 four-byte character cut short", "\x81\x30\x81", "GB18030", true},
    {"Big5 character", "\xA4\xA4", "BIG5", false},
    {"Big5 character cut short", "\xA4", "BIG5", true},
    {"EUC-JP three-byte character", "\x8F\xB0\xA1", "EUC-JP", false},
    {"EUC-JP three-byte character cut short", "\x8F\xB0", "EUC-JP", true},
};

TEST(keys, tell_whether_the_last_key_is_cut_short_however_its_bytes_arrive) {
  for (const key_case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " in " + c.codeset);
    const luling::iconv_character_rules rules(c.codeset);
    luling::key_scanner at_once(rules);
    at_once.take(c.bytes);
    EXPECT_EQ(at_once.incomplete(), c.incomplete);
    luling::key_scanner one_by_one(rules);
    for (char byte : c.bytes) one_by_one.take(std::string(1, byte));
    EXPECT_EQ(one_by_one.incomplete(), c.incomplete);
  }
}

}  // namespace
