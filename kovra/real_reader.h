// Reading a real from the input text channel.
//
// Blanks are skipped across line ends; at the end of the data the real reads as 0 without failure.
// The number's text is the run of non-blank bytes that follows, at most 64 of them (a longer run is
// cut and the next read begins with its rest). The text must be
//     [+|-] digits* [. digits*] [(E|e) [+|-] digits+]
// with at least one byte after the sign; anything else records failure code 106 and reads as 0.
//     "2.5" -> 2.5   "-.5" -> -0.5   "3." -> 3   "1e-3" -> 0.001   "+1E+2" -> 100
//     "." -> 0       "-." -> -0      "E7" -> 0   "1e", "1.2.3", "1,5", "0x10", "inf" -> invalid
//
// The value is computed in extended precision: the digits, before and after the point, accumulate
// as value := value * 10 + digit, each operation rounded to 64 bits. With t the exponent minus the
// number of digits after the point, t >= 5120 gives infinity and t <= -5120 gives 0; otherwise the
// value is scaled by 10^|t| in the three rounded steps of powers_of_ten.h. The sign comes last.
// Rounding to double happens when the real is stored: beyond the double range (or beyond the
// extended range while scaling) the floating-point environment ends the run with code 205.
#pragma once

#include <string_view>

#include "common/extended.h"
#include "common/text_input.h"

namespace kovra {

constexpr std::size_t MaxRealLength = 64;

// The extended value of a real's text; false when the text is not a valid real.
bool ParseReal(std::string_view text, runtime::Extended& value);

// Reads the next real and rounds it to double; records 106 for invalid text.
double ReadReal(runtime::TextInput& input);

}  // namespace kovra
