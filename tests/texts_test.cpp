// The screen texts decode from GBK to exactly the Chinese they should say.
#include "console/texts.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/gbk.h"

namespace {

using luling::text;
using luling::testing::gbk_to_utf8;

struct catalogue_entry {
  const char* name;
  text gbk;
  const char* unicode;  // UTF-8 in this source file
  std::size_t bytes;
};

const catalogue_entry catalogue[] = {
    {"banner", luling::banner, "---------------鹭岭数字盘---------------", 40},
    {"menu_title", luling::menu_title, "请输入运算方法", 14},
    {"menu_codes", luling::menu_codes, "(+为1，-为2，÷为3，×为4）", 27},
    {"input_warning", luling::input_warning, "只能输入数字，不可输入大数，不然回卡死", 38},
    {"prompt_addend_1", luling::prompt_addend_1, "输入第1个加数", 13},
    {"prompt_addend_2", luling::prompt_addend_2, "输入第2个加数", 13},
    {"prompt_minuend", luling::prompt_minuend, "输入被减数", 10},
    {"prompt_subtrahend", luling::prompt_subtrahend, "输入减数", 8},
    {"prompt_dividend", luling::prompt_dividend, "输入被除数", 10},
    {"prompt_divisor", luling::prompt_divisor, "输入除数", 8},
    {"prompt_factor_1", luling::prompt_factor_1, "输入第1个乘数", 13},
    {"prompt_factor_2", luling::prompt_factor_2, "输入第2个乘数", 13},
    {"result_label", luling::result_label, "结果为：", 8},
    {"remainder_separator", luling::remainder_separator, "......", 6},
    {"invalid_input", luling::invalid_input, "输入无效，请输入整数", 20},
    {"out_of_range", luling::out_of_range, "数字超出范围，请输入-2147483648到2147483647之间的整数", 53},
    {"divide_by_zero", luling::divide_by_zero, "除数不能为0", 11},
    {"pause_prompt", luling::pause_prompt, "请按任意键继续. . . ", 20},
};

TEST(texts, decode_from_gbk_to_the_catalogue_text_with_the_catalogue_length) {
  for (const catalogue_entry& entry : catalogue) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(gbk_to_utf8(entry.gbk), entry.unicode);
    EXPECT_EQ(entry.gbk.size(), entry.bytes);
  }
}

}  // namespace
