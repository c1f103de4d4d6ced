// Scaling an extended value by a power of ten, the way both reading and writing a real do it: in up
// to three steps, by 10^(u mod 32), then by 10^(32 * ((u div 32) mod 16)) unless that factor is 1,
// then by 10^(512 * (u div 512)) unless that factor is 1. Each factor is the power of ten rounded to
// extended precision and each step is rounded to extended precision, so the result is not always
// the correctly rounded one: the digits written and read depend on exactly these roundings.
#pragma once

#include "kovra/extended_constants.h"

namespace kovra {

// Largest exponent the tables reach: 5119 = 31 + 32 * 15 + 512 * 9.
constexpr int MaxScaleExponent = 5119;

// 0 <= u <= MaxScaleExponent.
Extended MultiplyByPowerOfTen(Extended value, int u);
Extended DivideByPowerOfTen(Extended value, int u);

}  // namespace kovra
