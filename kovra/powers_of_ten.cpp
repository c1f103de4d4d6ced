#include "kovra/powers_of_ten.h"

namespace kovra {

Extended MultiplyByPowerOfTen(Extended value, int u) {
  value *= PowersOfTenBy1[u % 32];
  if ((u / 32) % 16 != 0) value *= PowersOfTenBy32[(u / 32) % 16];
  if (u / 512 != 0) value *= PowersOfTenBy512[u / 512];
  return value;
}

Extended DivideByPowerOfTen(Extended value, int u) {
  value /= PowersOfTenBy1[u % 32];
  if ((u / 32) % 16 != 0) value /= PowersOfTenBy32[(u / 32) % 16];
  if (u / 512 != 0) value /= PowersOfTenBy512[u / 512];
  return value;
}

}  // namespace kovra
