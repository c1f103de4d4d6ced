// Writing an integer: its decimal digits with no minimum width, a minus sign in front of a negative
// value, no sign otherwise, no leading zeros or blanks.
//     0 -> "0"    1234 -> "1234"    -5 -> "-5"    -9223372036854775808 -> "-9223372036854775808"
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorl {

constexpr std::size_t MaxIntegerTextLength = 20;  // the sign and 19 digits

// Writes the text to text and returns its length.
std::size_t FormatInteger(std::int64_t value, char (&text)[MaxIntegerTextLength]);

}  // namespace quorl
