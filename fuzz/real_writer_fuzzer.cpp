// Writing a real with ten decimals: any finite double of 0 or more.
//
// The text must be well formed (the fixed form below 2^120, the exponential form from there on) and
// no longer than the longest text, and it must stand for the value: within half a unit of the tenth
// decimal plus the rounding of the value to its 18 significant digits, or within one unit of the
// second significant digit in the exponential form. (That form rounds the digit string at its
// position 2; when the lead digit is the first significant one, the written digits are the lead and
// position 1, so the third significant digit is dropped unrounded: 1.1945e103 is written 1.1E+0103.)
// The floating-point environment traps as in a run, so an overflow or invalid operation inside the
// writer is a finding too.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>

#include "common/extended.h"
#include "kovra/real_writer.h"

namespace {

using runtime::Extended;

constexpr double TwoToThe120 = 0x1p120;
// Half a unit of the tenth decimal.
constexpr Extended HalfLastDecimal = 0.5e-10L;
// The digit string keeps 18 significant digits: half a unit of the 18th, with room for the
// roundings of the scaling.
constexpr Extended SignificantDigitsTolerance = 0.6e-17L;
// Two significant digits: one unit of the second, with room for the scaling's roundings.
constexpr Extended ExponentialTolerance = 0.1001L;

[[noreturn]] void Finding(const char* what, double value, const std::string& text) {
  std::fprintf(stderr, "%s: %a (%.21g) written as \"%s\"\n", what, value, value, text.c_str());
  std::abort();
}

void CheckFixed(double value, const std::string& text) {
  static const std::regex fixed("(0|[1-9][0-9]*)\\.[0-9]{10}");
  if (!std::regex_match(text, fixed)) Finding("malformed fixed form", value, text);
  const Extended written = std::strtold(text.c_str(), nullptr);
  // Below 10 the 18 digits run down to the 17th decimal, whatever the value.
  const Extended allowed = HalfLastDecimal + std::fmax(value, 1.0) * SignificantDigitsTolerance;
  if (std::fabs(written - value) > allowed) Finding("fixed form off", value, text);
}

void CheckExponential(double value, const std::string& text) {
  static const std::regex exponential(" [1-9]\\.[0-9]E\\+[0-9]{4}");
  if (!std::regex_match(text, exponential)) Finding("malformed exponential form", value, text);
  const Extended written = std::strtold(text.c_str() + 1, nullptr);
  const int exponent = std::atoi(text.c_str() + 6);
  const Extended unit = std::pow(10.0L, exponent);
  if (std::fabs(written - value) > unit * ExponentialTolerance) Finding("exponential form off", value, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size != sizeof(double)) return -1;
  double value;
  std::memcpy(&value, bytes, sizeof value);
  value = std::fabs(value);
  if (!std::isfinite(value)) return -1;

  // Exactly the promised room: the address sanitizer catches a write past it.
  char text[kovra::MaxRealTextLength];
  runtime::SetFloatingPointEnvironment();
  const std::size_t length = kovra::FormatWithTenDecimals(value, text);
  runtime::ResetFloatingPointUnit();
  if (length > kovra::MaxRealTextLength) Finding("text too long", value, "");
  const std::string written(text, length);
  if (value < TwoToThe120) {
    CheckFixed(value, written);
  } else {
    CheckExponential(value, written);
  }
  return 0;
}
