#include "quorl/integer_reader.h"

#include "common/failure.h"

namespace quorl {

namespace {

constexpr std::uint64_t LargestPositive = 2147483647;
constexpr std::uint64_t LargestPattern = 0xFFFFFFFF;

int DigitValue(char c, int base) {
  int value = 99;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  return value < base ? value : -1;
}

// The length of a hexadecimal prefix at the start of text, 0 when there is none.
std::size_t HexPrefixLength(std::string_view text) {
  if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) return 1;
  if (text.starts_with("0x") || text.starts_with("0X")) return 2;
  return 0;
}

// Accumulates the digits of text, stopping once the value passes limit (so it never wraps);
// false when text is empty or holds a byte that is not a digit of the base.
bool AccumulateDigits(std::string_view text, int base, std::uint64_t limit, std::uint64_t& value) {
  if (text.empty()) return false;
  value = 0;
  for (const char c : text) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return false;
    if (value <= limit) value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  return true;
}

}  // namespace

bool ParseInteger(std::string_view text, std::int32_t& value) {
  bool negative = false;
  if (text.starts_with('+') || text.starts_with('-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::uint64_t magnitude = 0;
  if (const std::size_t prefix = HexPrefixLength(text); prefix != 0) {
    if (!AccumulateDigits(text.substr(prefix), 16, LargestPattern, magnitude)) return false;
    if (magnitude > LargestPattern) return false;
    std::uint32_t pattern = static_cast<std::uint32_t>(magnitude);
    if (negative) pattern = 0u - pattern;
    value = static_cast<std::int32_t>(pattern);
    return true;
  }
  if (!AccumulateDigits(text, 10, LargestPositive + 1, magnitude)) return false;
  if (magnitude > LargestPositive + (negative ? 1 : 0)) return false;
  value = static_cast<std::int32_t>(negative ? 0 - magnitude : magnitude);
  return true;
}

std::int32_t ReadInteger(runtime::TextInput& input) {
  if (!runtime::SkipBlanks(input)) return 0;
  char text[MaxIntegerLength];
  const std::size_t length = runtime::ReadRun(input, text, MaxIntegerLength);
  std::int32_t value = 0;
  if (!ParseInteger({text, length}, value)) {
    runtime::RecordFailure(runtime::InvalidNumber);
    return 0;
  }
  return value;
}

}  // namespace quorl
