// The calculator's screen texts: Simplified Chinese, held as their code page
// 936 (GBK) bytes. The bytes are spelled out so that the source file's own
// encoding cannot change them; each constant's comment shows the text.
#pragma once

#include <string_view>

namespace luling {

// A screen text: read-only GBK bytes with their length, no terminator.
using text = std::string_view;

// ---------------鹭岭数字盘---------------
inline constexpr text banner =
    "---------------\xF0\xD8\xC1\xEB\xCA\xFD\xD7\xD6\xC5\xCC---------------";
// 请输入运算方法
inline constexpr text menu_title =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xD4\xCB\xCB\xE3\xB7\xBD\xB7\xA8";
// (+为1，-为2，÷为3，×为4）  (ASCII "(" but full-width "）")
inline constexpr text menu_codes =
    "(+\xCE\xAA" "1\xA3\xAC-\xCE\xAA" "2\xA3\xAC\xA1\xC2\xCE\xAA"
    "3\xA3\xAC\xA1\xC1\xCE\xAA" "4\xA3\xA9";
// 只能输入数字，不可输入大数，不然回卡死
inline constexpr text input_warning =
    "\xD6\xBB\xC4\xDC\xCA\xE4\xC8\xEB\xCA\xFD\xD7\xD6\xA3\xAC\xB2\xBB\xBF\xC9"
    "\xCA\xE4\xC8\xEB\xB4\xF3\xCA\xFD\xA3\xAC\xB2\xBB\xC8\xBB\xBB\xD8\xBF\xA8"
    "\xCB\xC0";
// 输入第1个加数
inline constexpr text prompt_addend_1 =
    "\xCA\xE4\xC8\xEB\xB5\xDA" "1\xB8\xF6\xBC\xD3\xCA\xFD";
// 输入第2个加数
inline constexpr text prompt_addend_2 =
    "\xCA\xE4\xC8\xEB\xB5\xDA" "2\xB8\xF6\xBC\xD3\xCA\xFD";
// 输入被减数
inline constexpr text prompt_minuend = "\xCA\xE4\xC8\xEB\xB1\xBB\xBC\xF5\xCA\xFD";
// 输入减数
inline constexpr text prompt_subtrahend = "\xCA\xE4\xC8\xEB\xBC\xF5\xCA\xFD";
// 输入被除数
inline constexpr text prompt_dividend = "\xCA\xE4\xC8\xEB\xB1\xBB\xB3\xFD\xCA\xFD";
// 输入除数
inline constexpr text prompt_divisor = "\xCA\xE4\xC8\xEB\xB3\xFD\xCA\xFD";
// 输入第1个乘数
inline constexpr text prompt_factor_1 =
    "\xCA\xE4\xC8\xEB\xB5\xDA" "1\xB8\xF6\xB3\xCB\xCA\xFD";
// 输入第2个乘数
inline constexpr text prompt_factor_2 =
    "\xCA\xE4\xC8\xEB\xB5\xDA" "2\xB8\xF6\xB3\xCB\xCA\xFD";
// 结果为：
inline constexpr text result_label = "\xBD\xE1\xB9\xFB\xCE\xAA\xA3\xBA";
// ......  (six ASCII full stops)
inline constexpr text remainder_separator = "......";
// 输入无效，请输入整数
inline constexpr text invalid_input =
    "\xCA\xE4\xC8\xEB\xCE\xDE\xD0\xA7\xA3\xAC\xC7\xEB\xCA\xE4\xC8\xEB\xD5\xFB"
    "\xCA\xFD";
// 数字超出范围，请输入-2147483648到2147483647之间的整数
inline constexpr text out_of_range =
    "\xCA\xFD\xD7\xD6\xB3\xAC\xB3\xF6\xB7\xB6\xCE\xA7\xA3\xAC\xC7\xEB\xCA\xE4"
    "\xC8\xEB-2147483648\xB5\xBD" "2147483647\xD6\xAE\xBC\xE4\xB5\xC4\xD5\xFB"
    "\xCA\xFD";
// 除数不能为0
inline constexpr text divide_by_zero = "\xB3\xFD\xCA\xFD\xB2\xBB\xC4\xDC\xCE\xAA" "0";
// 请按任意键继续. . .   (with one space at the end) shown while waiting for a key
inline constexpr text pause_prompt =
    "\xC7\xEB\xB0\xB4\xC8\xCE\xD2\xE2\xBC\xFC\xBC\xCC\xD0\xF8. . . ";

}  // namespace luling
