#pragma once
// Conversions between the texts the user types or reads and the doubles the
// calculation works on. The decimal point is "." in every locale.

#include <string>
#include <string_view>

namespace calc {

// Reads the leading number of the UTF-8 `text`; never fails. Blanks (space,
// tab, line feed, and the ideographic space U+3000) are dropped from the whole
// text first; reading then stops at the first character that cannot continue
// "[sign] digits [. digits] [E|e [sign] digits]".
// "&H" or "&O" (either case) read the hexadecimal or octal digits after them
// as a non-negative whole number. What a Chinese input method types reads as
// the ASCII it stands for: the full-width forms U+FF01..U+FF5E of "!".."~"
// (digits, "．", "＋", "－", "Ｅ", "＆Ｈ", ...), and "。" U+3002 as the point;
// texts that mix them with ASCII read as their ASCII forms. Any other
// character, and any byte that is not valid UTF-8, ends the number; blanks
// never join the bytes around them into a character. No leading number reads as
// 0; a decimal number beyond the double range reads as +/-infinity. The result
// is the correctly rounded double; the cost is linear in the text's length.
//   ReadNumber("12MHz")      -> 12
//   ReadNumber("9 600")      -> 9600
//   ReadNumber("1,200")      -> 1
//   ReadNumber("&H10")       -> 16
//   ReadNumber("abc")        -> 0
//   ReadNumber("９６００")   -> 9600
//   ReadNumber("１1.0５92")  -> 11.0592
//   ReadNumber("11。0592")   -> 11.0592
//   ReadNumber("１２ＭＨｚ") -> 12
//   ReadNumber("＆Ｈ１Ａ")   -> 26
double ReadNumber(std::string_view text);

// The value of one ASCII digit in `radix` (up to 16), or -1; never the
// locale's digits.
//   DigitValue('7', 8) -> 7;  DigitValue('b', 16) -> 11
//   DigitValue('8', 8) -> -1;  DigitValue('g', 16) -> -1
int DigitValue(char c, int radix);

// The nearest whole number, halves to the even one, whatever the current
// floating-point rounding mode.
//   RoundHalfEven(254.5) -> 254
//   RoundHalfEven(65223.5) -> 65224
//   RoundHalfEven(-2.5) -> -2
double RoundHalfEven(double value);

// The value rounded half to even, as uppercase hexadecimal without prefix or
// leading zeros; negatives as 8-digit two's complement. Throws RuntimeError
// (overflow) when the rounded value is outside the signed 32-bit range.
//   HexText(254.5)  -> "FE"
//   HexText(-369)   -> "FFFFFE8F"
//   HexText(2147483647.5) -> throws overflow
std::string HexText(double value);

// `value` correctly rounded to `precision` digits after the point, in
// printf's 'f' or 'e' form, always with ".": the same digits on every
// platform and in every locale. `precision` is at most 30.
//   Printed(2.675, 'f', 2)   -> "2.67" (the double is 2.67499999...)
//   Printed(0.125, 'f', 2)   -> "0.12" (an exact half goes to even)
//   Printed(11.0592, 'e', 3) -> "1.106e+01"
std::string Printed(double value, char form, int precision);

// A sign column (" " or "-"), then the magnitude rounded to 15 significant
// digits without trailing zeros, bare point or zero before the point. Below
// 1e15 the plain form is used however small the value; from 1e15 up the
// mantissa in the same style followed by "E+" and two or more digits.
//   NumberText(7.840000000000004)   -> " 7.84"
//   NumberText(-0.5)                -> "-.5"
//   NumberText(1.5e20)              -> " 1.5E+20"
std::string NumberText(double value);

// HexText with leading and trailing spaces removed (it has none).
//   ReloadText(252.74479166666666) -> "FD"
//   ReloadText(65223.5)            -> "FEC8"
std::string ReloadText(double value);

// The first four characters of NumberText: cut, never rounded.
//   ErrorText(33.333333333333336) -> " 33."
//   ErrorText(7.89)               -> " 7.8"
//   ErrorText(0)                  -> " 0"
std::string ErrorText(double value);

}  // namespace calc
