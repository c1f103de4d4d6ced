#include "kovra/real_writer.h"

#include <cmath>

#include "kovra/powers_of_ten.h"

namespace kovra {

namespace {

constexpr int DigitsOfScaled = 18;          // positions 1 to 18
constexpr int ScaledDigitsExponent = 17;    // s * 10^17 holds them
constexpr long long TenToThe18 = 1'000'000'000'000'000'000;
// floor(b * 19728 / 65536) is floor(b * log10(2)) for the binary exponents b of a double, so
// dividing by 10^k never takes s below 1.
constexpr int Log10Of2Times65536 = 19728;
constexpr int ExponentialDigitsRoundAt = 2;
constexpr int ExponentialDigits = 4;

struct Scaled {
  Extended s;
  int e;
};

Scaled ScaleBelowSixteen(Extended value) {
  Scaled scaled{value, 0};
  if (value < 10) return scaled;
  for (;;) {
    const int b = runtime::BinaryExponent(scaled.s);
    const int k = b * Log10Of2Times65536 / 65536;
    if (k == 0) return scaled;
    scaled.e += k;
    scaled.s = DivideByPowerOfTen(scaled.s, k);
  }
}

char DigitChar(unsigned char digit) { return static_cast<char>('0' + digit); }

}  // namespace

DigitString MakeDigitString(Extended value) {
  const Scaled scaled = ScaleBelowSixteen(value);
  DigitString string;
  string.exponent = scaled.e;
  // s < 16, so the whole number is below 1.6e18 and fits easily.
  long long whole =
      static_cast<long long>(std::rint(scaled.s * PowersOfTenBy1[ScaledDigitsExponent]));
  if (whole >= TenToThe18) {
    whole -= TenToThe18;
    string.digits[0] = 1;
  }
  for (int at = DigitsOfScaled; at >= 1; --at, whole /= 10) {
    string.digits[at] = static_cast<unsigned char>(whole % 10);
  }
  return string;
}

void RoundDigitString(DigitString& string, int roundAt) {
  if (roundAt >= DigitsOfScaled) return;
  const bool roundsUp = string.digits[roundAt + 1] >= 5;
  for (int at = roundAt + 1; at <= DigitsOfScaled; ++at) string.digits[at] = 0;
  if (!roundsUp) return;
  for (int at = roundAt; at >= 0; --at) {
    if (++string.digits[at] < 10) return;
    string.digits[at] = 0;
  }
}

std::size_t FormatWithTenDecimals(double value, char* text) {
  std::size_t length = 0;
  DigitString string = MakeDigitString(value);
  if (string.exponent > MaxExponentInFixedForm) {
    RoundDigitString(string, ExponentialDigitsRoundAt);
    const bool leadIsFirst = string.digits[0] != 0;
    const int first = leadIsFirst ? 0 : 1;
    int exponent = leadIsFirst ? string.exponent + 1 : string.exponent;
    text[length++] = ' ';
    text[length++] = DigitChar(string.digits[first]);
    text[length++] = '.';
    text[length++] = DigitChar(string.digits[first + 1]);
    text[length++] = 'E';
    text[length++] = '+';
    for (int i = ExponentialDigits - 1; i >= 0; --i, exponent /= 10) {
      text[length + i] = static_cast<char>('0' + exponent % 10);
    }
    return length + ExponentialDigits;
  }
  RoundDigitString(string, string.exponent + 1 + FixedDecimals);
  if (string.digits[0] != 0) text[length++] = DigitChar(string.digits[0]);
  const int integerEnd = string.exponent + 1;
  for (int at = 1; at <= integerEnd; ++at) text[length++] = DigitChar(string.digits[at]);
  text[length++] = '.';
  for (int at = integerEnd + 1; at <= integerEnd + FixedDecimals; ++at) {
    text[length++] = DigitChar(string.digits[at]);
  }
  return length;
}

}  // namespace kovra
