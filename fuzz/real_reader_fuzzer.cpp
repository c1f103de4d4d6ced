// Reading a real: any bytes, any block boundaries.
//
// ParseReal must accept exactly the texts of the real grammar, and its value must be the decimal
// value of the text to within the few roundings of the stepwise accumulation and scaling (strtold
// gives the correctly rounded reference). ReadReal, fed the same bytes in blocks of any size, must
// give what ParseReal gives on each run of non-blank bytes, whatever the block boundaries.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <regex>
#include <string>

#include "common/failure.h"
#include "fuzz/channel_feed.h"
#include "kovra/real_reader.h"

namespace {

using runtime::Extended;

constexpr int InfinityExponent = 5120;
// 64 accumulation steps and six scaling roundings, each within 2^-64 of the exact value.
constexpr Extended RelativeTolerance = 0x1p-56L;

bool IsRealText(const std::string& text) {
  static const std::regex grammar("[+-]?[0-9]*(\\.[0-9]*)?([Ee][+-]?[0-9]+)?");
  if (text == "+" || text == "-") return false;
  return std::regex_match(text, grammar);
}

// The adjusted exponent: the exponent's value minus the digits after the point, held back from
// overflowing once it is past the range where it matters.
long long AdjustedExponent(const std::string& text) {
  const std::size_t point = text.find('.');
  const std::size_t letter = text.find_first_of("Ee");
  long long t = 0;
  if (letter != std::string::npos) {
    std::size_t at = letter + 1;
    const bool negative = text[at] == '-';
    if (text[at] == '+' || text[at] == '-') ++at;
    for (; at < text.size(); ++at) t = std::min(t * 10 + (text[at] - '0'), 1'000'000'000LL);
    if (negative) t = -t;
  }
  if (point != std::string::npos) {
    const std::size_t end = letter == std::string::npos ? text.size() : letter;
    t -= static_cast<long long>(end - point - 1);
  }
  return t;
}

[[noreturn]] void Finding(const char* what, const std::string& text, Extended got, Extended expected) {
  std::fprintf(stderr, "%s: text \"%s\" gave %La (%.25Lg), expected %La (%.25Lg)\n", what, text.c_str(),
               got, got, expected, expected);
  std::abort();
}

void CheckParse(const std::string& text) {
  Extended value = 12345;
  const bool valid = kovra::ParseReal(text, value);
  if (valid != IsRealText(text)) Finding(valid ? "accepted invalid text" : "refused valid text", text, value, 0);
  if (!valid) return;
  if (std::signbit(value) != (text[0] == '-')) Finding("wrong sign", text, value, 0);
  const Extended magnitude = std::fabs(value);
  const long long t = AdjustedExponent(text);
  if (t >= InfinityExponent) {
    if (!std::isinf(magnitude)) Finding("exponent of 5120 or more not infinite", text, value, 0);
    return;
  }
  if (t <= -InfinityExponent) {
    if (magnitude != 0) Finding("exponent of -5120 or less not zero", text, value, 0);
    return;
  }
  const Extended exact = std::fabs(std::strtold(text.c_str(), nullptr));
  constexpr Extended Largest = std::numeric_limits<Extended>::max();
  if (std::isinf(magnitude) || std::isinf(exact)) {
    // Past the extended range the scaling overflows; only a value at the very edge may land on
    // either side of it.
    if (std::fmin(magnitude, exact) < Largest * (1 - RelativeTolerance)) Finding("overflow", text, value, exact);
    return;
  }
  const Extended allowed = exact * RelativeTolerance + 2 * std::numeric_limits<Extended>::denorm_min();
  if (std::fabs(magnitude - exact) > allowed) Finding("value off", text, value, exact);
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void CheckReadsThroughChannel(std::string_view text, const std::vector<std::size_t>& sizes) {
  const std::string data = fuzz_support::DataOf(text);
  runtime::TextInput input;
  fuzz_support::ChannelFeed feed(input, text, sizes);
  std::size_t at = 0;
  for (;;) {
    const std::string run = fuzz_support::NextRun(data, at, kovra::MaxRealLength);
    runtime::ClearFailure();
    const double got = kovra::ReadReal(input);
    double expected = 0;
    int expectedFailure = 0;
    Extended value = 0;
    if (run.empty()) {
      expected = 0;
    } else if (kovra::ParseReal(run, value)) {
      expected = static_cast<double>(value);
    } else {
      expectedFailure = runtime::InvalidNumber;
    }
    if (!SameBits(got, expected) || runtime::RecordedFailure() != expectedFailure) {
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
  if (layout.rest.size() <= 2 * kovra::MaxRealLength) CheckParse(std::string(layout.rest));
  return 0;
}
