#include "kovra/volume_search.h"

#include <cmath>


namespace kovra {

using runtime::RoundToDouble;

double L = 0;
double d = 0;
double samples[Subdivisions + 1] = {};

double Height(double a) {
  const Extended q = static_cast<Extended>(L) * L;
  const Extended r = static_cast<Extended>(a) - d;
  const Extended r2 = r * r;
  const Extended t = q - r2;
  // Rounded positions can put the last sample of the first pass just past the flat end of the range,
  // where the radicand turns negative. The flat end has height 0, and so has that sample.
  if (t < 0) return 0;
  return RoundToDouble(runtime::SquareRoot(t));
}

double Volume(double a) {
  const double h = Height(a);
  const Extended u = PiOverThree * h;
  Extended w = static_cast<Extended>(a) * a + static_cast<Extended>(d) * d;
  w = w + static_cast<Extended>(d) * a;
  return RoundToDouble(u * w);
}

namespace {

// i * step is exact in extended (at most 10 + 53 significant bits); the sum is rounded to extended,
// then to double.
double PositionOf(int i, double step, double lo) {
  return RoundToDouble(static_cast<Extended>(i) * step + lo);
}

}  // namespace

bool RefinePass(double& lo, double& hi) {
  const double step = RoundToDouble((static_cast<Extended>(hi) - lo) / Subdivisions);
  bool rising = true;
  samples[0] = Volume(lo);
  for (int i = 1; i <= Subdivisions; ++i) samples[i] = Volume(PositionOf(i, step, lo));

  for (int i = 1; i <= Subdivisions; ++i) {
    const Extended difference = static_cast<Extended>(samples[i]) - samples[i - 1];
    if (std::fabs(difference) <= Tolerance) {
      lo = PositionOf(i - 1, step, lo);
      return true;
    }
    // A descent narrows the range around the highest sample so far. Later descents of the same pass
    // start from the lo that an earlier one may have moved: the new bounds follow that lo, not the
    // sample positions.
    if (rising && samples[i] < samples[i - 1]) {
      const double base = lo;
      hi = PositionOf(i, step, base);
      if (i > 1) lo = PositionOf(i - 2, step, base);
      rising = false;
    }
    if (samples[i] >= samples[i - 1]) rising = true;
  }
  return false;
}

}  // namespace kovra
