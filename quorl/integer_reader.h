// Reading an integer from the input text channel.
//
// Blanks are skipped across line ends; at the end of the data the integer reads as 0 without
// failure. The number's text is the run of non-blank bytes that follows, at most 32 of them (a
// longer run is cut and the next read begins with its rest). The text is one of
//     [+|-] digits+                            decimal, -2147483648 to 2147483647
//     [+|-] ($ | x | X | 0x | 0X) hexdigits+   at most 32 bits of value, leading zeros not counted
// A hexadecimal pattern is taken as a two's-complement number and a minus sign negates it modulo
// 2^32. Anything else records failure code 106 and reads as 0.
//     "42" -> 42     "-007" -> -7     "+0" -> 0     "2147483647" -> 2147483647
//     "$A" -> 10     "0x10" -> 16     "-x1" -> -1   "$FFFFFFFF" -> -1   "$80000000" -> -2147483648
//     "-$80000000" -> -2147483648     "$000000001" -> 1
//     "2147483648", "$100000000", "1.0", "1e3", "+-1", "$-1", "0x", "$", "-", "12a", "0b1" -> invalid
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/text_input.h"

namespace quorl {

constexpr std::size_t MaxIntegerLength = 32;

// The value of an integer's text; false when the text is not a valid integer.
bool ParseInteger(std::string_view text, std::int32_t& value);

// Reads the next integer; records 106 for invalid text and then reads as 0.
std::int32_t ReadInteger(runtime::TextInput& input);

}  // namespace quorl
