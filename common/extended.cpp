#include "common/extended.h"

namespace runtime {

namespace {
// x87 control word: bits 0 to 5 mask the exceptions (invalid, denormal, zero divide, overflow,
// underflow, precision), bits 8 and 9 select the precision (3: 64-bit significand), bits 10 and 11
// the rounding (0: to nearest, ties to even).
constexpr unsigned short MaskInvalid = 0x01;
constexpr unsigned short MaskZeroDivide = 0x04;
constexpr unsigned short MaskOverflow = 0x08;
constexpr unsigned short PowerOnControlWord = 0x037F;
constexpr unsigned short TrappingControlWord =
    PowerOnControlWord & static_cast<unsigned short>(~(MaskInvalid | MaskZeroDivide | MaskOverflow));

void LoadControlWord(unsigned short controlWord) {
  asm volatile("fninit\n\tfldcw %0" : : "m"(controlWord));
}
}  // namespace

void SetFloatingPointEnvironment() { LoadControlWord(TrappingControlWord); }

void ResetFloatingPointUnit() { LoadControlWord(PowerOnControlWord); }

}  // namespace runtime
