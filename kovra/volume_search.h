// The volume of a truncated cone and the refining grid search for its largest value.
//
// The cone has slant length L, a given base of radius d and a free base of radius a:
//     height = sqrt(L^2 - (a - d)^2),   volume = pi/3 * height * (a^2 + d^2 + d*a).
// Every operation is carried in extended precision and rounded to double only where a value is
// stored, passed to Height or Volume, or returned from them; the written digits and the sample that
// ends the search depend on exactly these roundings.
#pragma once

#include "kovra/extended_constants.h"

namespace kovra {

constexpr int Subdivisions = 1000;

// Set once by the program before the first pass.
extern double L;
extern double d;
// The volumes of the current pass, at lo + i * step for i = 0 to Subdivisions.
extern double samples[Subdivisions + 1];

double Height(double a);
double Volume(double a);

// Samples Volume at Subdivisions + 1 radii from lo towards hi and narrows [lo, hi] around the first
// place where the samples stop rising (and every later fall after a rise). True when two neighbouring
// samples differ by no more than Tolerance: lo then holds the first of the two.
bool RefinePass(double& lo, double& hi);

}  // namespace kovra
