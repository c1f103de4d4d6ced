// Reading a row of the grid as text.
//
// The row is the line's bytes from the current position up to its line end (a line feed, or a
// carriage return directly followed by one), which is left unread for the skip that follows. A
// carriage return not followed by a line feed is left out of the row, so no carriage return ever
// reaches it; every other byte goes in unchanged, leading blanks included. Byte 26 ends the data
// and so the row. At the end of the data the row is empty; a short row is no failure.
//
// Only the first `capacity` bytes are kept: the rest of the line is read and dropped, so the memory
// a row takes is bounded by the column count, never by the length of the line.
//     "1011\r\n" -> "1011"    "1\r01" -> "101"    "  1" -> "  1"    "11\x1A11" -> "11"
#pragma once

#include <cstddef>

#include "common/text_input.h"

namespace quorl {

// Returns the number of bytes kept in text.
std::size_t ReadRow(runtime::TextInput& input, char* text, std::size_t capacity);

}  // namespace quorl
