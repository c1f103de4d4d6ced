// Reading an integer: any bytes, any block boundaries.
//
// ParseInteger must accept exactly the decimal texts in the 32-bit signed range and the hexadecimal
// texts of at most 32 bits of value, with the value the text stands for (a hexadecimal pattern as a
// two's-complement number, a minus sign negating it modulo 2^32). ReadInteger, fed the same bytes in
// blocks of any size, must give what ParseInteger gives on each run of at most 32 non-blank bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>

#include "common/failure.h"
#include "fuzz/channel_feed.h"
#include "quorl/integer_reader.h"

namespace {

[[noreturn]] void Finding(const char* what, const std::string& text, long long got, long long expected) {
  std::fprintf(stderr, "%s: text \"%s\" gave %lld, expected %lld\n", what, text.c_str(), got, expected);
  std::abort();
}

// The value the text stands for, or nothing when it is not a valid integer.
std::optional<std::int32_t> ValueOf(const std::string& text) {
  static const std::regex decimal("([+-]?)0*([0-9]*)");
  static const std::regex hexadecimal("([+-]?)(\\$|x|X|0x|0X)0*([0-9A-Fa-f]*)");
  std::smatch parts;
  if (std::regex_match(text, parts, decimal) && text.find_first_of("0123456789") != std::string::npos) {
    const std::string digits = parts[2];
    if (digits.size() > 10) return std::nullopt;
    const long long magnitude = digits.empty() ? 0 : std::stoll(digits);
    const long long value = parts[1] == "-" ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
  }
  if (std::regex_match(text, parts, hexadecimal)) {
    // At least one digit after the prefix, leading zeros included.
    const std::size_t prefixEnd = parts.position(2) + parts.length(2);
    if (prefixEnd == text.size()) return std::nullopt;
    const std::string digits = parts[3];
    if (digits.size() > 8) return std::nullopt;
    std::uint32_t pattern = digits.empty() ? 0 : static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
    if (parts[1] == "-") pattern = 0u - pattern;
    return static_cast<std::int32_t>(pattern);
  }
  return std::nullopt;
}

void CheckParse(const std::string& text) {
  std::int32_t value = 12345;
  const bool valid = quorl::ParseInteger(text, value);
  const std::optional<std::int32_t> expected = ValueOf(text);
  if (valid != expected.has_value()) Finding(valid ? "accepted invalid text" : "refused valid text", text, value, 0);
  if (valid && value != *expected) Finding("value off", text, value, *expected);
}

void CheckReadsThroughChannel(std::string_view text, const std::vector<std::size_t>& sizes) {
  const std::string data = fuzz_support::DataOf(text);
  runtime::TextInput input;
  fuzz_support::ChannelFeed feed(input, text, sizes);
  std::size_t at = 0;
  for (;;) {
    const std::string run = fuzz_support::NextRun(data, at, quorl::MaxIntegerLength);
    runtime::ClearFailure();
    const std::int32_t got = quorl::ReadInteger(input);
    std::int32_t expected = 0;
    const bool valid = run.empty() || quorl::ParseInteger(run, expected);
    if (!valid) expected = 0;
    if (got != expected || runtime::RecordedFailure() != (valid ? 0 : runtime::InvalidNumber)) {
      Finding("channel read differs", run, got, expected);
    }
    if (run.empty()) break;
    CheckParse(run);
  }
  runtime::ClearFailure();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const auto layout = fuzz_support::TakeBlockLayout({reinterpret_cast<const char*>(bytes), size});
  CheckReadsThroughChannel(layout.rest, layout.sizes);
  if (layout.rest.size() <= 2 * quorl::MaxIntegerLength) CheckParse(std::string(layout.rest));
  return 0;
}
