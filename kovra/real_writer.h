// Writing a real (0 or more) with no minimum width and ten decimals.
//
// Two layers. The digit layer scales the value by powers of ten to 1 <= s < 16 with a decimal
// exponent e, turns s * 10^17 into a lead digit and 18 digits, and rounds half up at one position.
// The layout layer writes the fixed form, or the exponential form when e exceeds 35 (exactly when
// the value is 2^120 or more). At most 18 significant digits (19 when s >= 10) come from the value;
// fixed-form positions beyond them are 0. Below 10 the value is in effect rounded twice: to 17
// decimals, then half up on the single next digit.
//     0                      -> "0.0000000000"
//     2/3                    -> "0.6666666667"
//     9.99999999999          -> "10.0000000000"
//     4.9999999999e-11       -> "0.0000000001"
//     1234567890.123456789   -> "1234567890.1234567200"
//     1e35                   -> "99999999999999996900000000000000000.0000000000"
//     2^120                  -> " 1.3E+0036"
// The longest text is 48 bytes: a value from 10^36 up to just below 2^120 scales to s >= 10 with
// e = 35, so its integer part is the lead digit and 36 more; then the point and ten decimals.
#pragma once

#include <cstddef>

#include "common/extended.h"

namespace kovra {

// Position 0 holds the lead digit (0 or 1); positions 1 to 18 the digits of s * 10^17; positions past
// 18, up to the rounding position, are 0. Each entry is a digit value 0 to 9.
struct DigitString {
  static constexpr int Capacity = 64;
  int exponent = 0;  // e: the value is about s * 10^e
  unsigned char digits[Capacity] = {};
};

constexpr int FixedDecimals = 10;
constexpr int MaxExponentInFixedForm = 35;
constexpr std::size_t MaxRealTextLength = 48;

// The digit string of a value of 0 or more, before rounding.
DigitString MakeDigitString(runtime::Extended value);

// Rounds half up at position roundAt (the carry may reach the lead digit) and drops the digits after
// it. From position 18 on there is nothing left to round: positions 19 to roundAt are zeros already.
void RoundDigitString(DigitString& string, int roundAt);

// Writes the text into text, which holds at least MaxRealTextLength bytes; returns its length.
std::size_t FormatWithTenDecimals(double value, char* text);

}  // namespace kovra
