#include "quorl/integer_writer.h"

namespace quorl {

std::size_t FormatInteger(std::int64_t value, char (&text)[MaxIntegerTextLength]) {
  // The magnitude in unsigned arithmetic, so that the most negative value has one too.
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                      : static_cast<std::uint64_t>(value);
  char digits[MaxIntegerTextLength];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  std::size_t length = 0;
  if (value < 0) text[length++] = '-';
  while (count > 0) text[length++] = digits[--count];
  return length;
}

}  // namespace quorl
