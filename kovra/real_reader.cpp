#include "kovra/real_reader.h"

#include <limits>

#include "common/failure.h"
#include "kovra/powers_of_ten.h"

namespace kovra {

namespace {

// Beyond this the exponent's value no longer matters (t is already past +-5120); capping it keeps
// an exponent of 60 digits from overflowing the count.
constexpr int ExponentCap = 1'000'000;
constexpr int InfinityExponent = 5120;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ParseReal(std::string_view text, Extended& value) {
  std::size_t at = 0;
  const auto next = [&] { return at < text.size() ? text[at] : '\0'; };
  bool negative = false;
  if (next() == '+' || next() == '-') {
    negative = next() == '-';
    ++at;
    if (at == text.size()) return false;
  }
  Extended accumulated = 0;
  for (; IsDigit(next()); ++at) accumulated = accumulated * 10 + (next() - '0');
  int digitsAfterPoint = 0;
  if (next() == '.') {
    for (++at; IsDigit(next()); ++at, ++digitsAfterPoint) {
      accumulated = accumulated * 10 + (next() - '0');
    }
  }
  int exponent = 0;
  if (next() == 'E' || next() == 'e') {
    ++at;
    bool negativeExponent = false;
    if (next() == '+' || next() == '-') {
      negativeExponent = next() == '-';
      ++at;
    }
    if (!IsDigit(next())) return false;
    for (; IsDigit(next()); ++at) {
      if (exponent < ExponentCap) exponent = exponent * 10 + (next() - '0');
    }
    if (negativeExponent) exponent = -exponent;
  }
  if (at != text.size()) return false;

  const int t = exponent - digitsAfterPoint;
  if (t >= InfinityExponent) {
    accumulated = std::numeric_limits<Extended>::infinity();
  } else if (t <= -InfinityExponent) {
    accumulated = 0;
  } else if (t > 0) {
    accumulated = MultiplyByPowerOfTen(accumulated, t);
  } else if (t < 0) {
    accumulated = DivideByPowerOfTen(accumulated, -t);
  }
  value = negative ? -accumulated : accumulated;
  return true;
}

double ReadReal(runtime::TextInput& input) {
  if (!runtime::SkipBlanks(input)) return 0;
  char text[MaxRealLength];
  const std::size_t length = runtime::ReadRun(input, text, MaxRealLength);
  Extended value = 0;
  if (!ParseReal({text, length}, value)) {
    runtime::RecordFailure(runtime::InvalidNumber);
    return 0;
  }
  return runtime::RoundToDouble(value);
}

}  // namespace kovra
