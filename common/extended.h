// Extended precision and the floating-point environment.
//
// Every intermediate result of real arithmetic is carried in the x87 80-bit format (64-bit
// significand, round to nearest with ties to even), and values are rounded to doubles only where the
// programs store them. Overflow, invalid operation and division by zero trap and end the run with
// codes 205, 207 and 200; underflow, denormal and inexact results stay silent.
#pragma once

#include <limits>

namespace runtime {

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64, "extended must have a 64-bit significand");
static_assert(std::numeric_limits<Extended>::max_exponent == 16384, "extended must have a 15-bit exponent");
static_assert(std::numeric_limits<double>::digits == 53 && std::numeric_limits<double>::is_iec559);

constexpr int DivisionByZero = 200;
constexpr int FloatingPointOverflow = 205;
constexpr int InvalidOperation = 207;

// Resets the unit and sets the environment above.
void SetFloatingPointEnvironment();
// Puts back the unit's power-on state, with every exception silent (for tests and in-process runs).
void ResetFloatingPointUnit();

// Rounds to double. The x87 unit reports a trapped exception only at its next instruction; waiting
// for it here makes an overflow end the run at this store, before anything else is read or written.
inline double RoundToDouble(Extended value) {
  double rounded = static_cast<double>(value);
  asm volatile("fwait" : "+m"(rounded));
  return rounded;
}

// The square root, correctly rounded in extended precision. The x87 instruction itself: the library
// call would only add a check for negative arguments, which callers rule out.
inline Extended SquareRoot(Extended value) {
  asm("fsqrt" : "+t"(value));
  return value;
}

// The whole number b with 2^b <= value < 2^(b+1), for a normal positive value: its biased exponent.
inline int BinaryExponent(Extended value) {
  constexpr int ExponentBias = 16383;
  unsigned char bytes[sizeof(Extended)];
  __builtin_memcpy(bytes, &value, sizeof bytes);
  return ((bytes[9] & 0x7F) << 8 | bytes[8]) - ExponentBias;
}

}  // namespace runtime
