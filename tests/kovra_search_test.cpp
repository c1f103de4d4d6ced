// The volume model and the refining grid search: ranges after each pass, the number of passes,
// and the answers where a pass ends in an unusual place.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "kovra/volume_search.h"

namespace {

using Extended = long double;

struct Pass {
  double lo, hi;
  bool converged;
};

// Sets the shape as the program does (d is half of D) and runs passes until one converges.
std::vector<Pass> Search(double slant, double diameter, double& answer) {
  kovra::L = slant;
  kovra::d = static_cast<double>(static_cast<Extended>(diameter) / 2);
  double lo = kovra::d;
  double hi = static_cast<double>(static_cast<Extended>(kovra::L) + kovra::d);
  std::vector<Pass> passes;
  for (bool done = false; !done && passes.size() < 50;) {
    done = kovra::RefinePass(lo, hi);
    passes.push_back({lo, hi, done});
  }
  answer = kovra::Volume(lo);
  return passes;
}

// Sample i's position in a pass that starts at lo with the given step.
double At(int i, double step, double lo) {
  return static_cast<double>(static_cast<Extended>(i) * step + lo);
}

TEST(RefinePass, NarrowsToTwoStepsAroundTheHighestSample) {
  double answer = 0;
  const auto passes = Search(10, 5, answer);
  ASSERT_EQ(passes.size(), 3u);
  // Pass 1 runs from 2.5 with step 0.01 and falls first at sample 751.
  EXPECT_EQ(passes[0].lo, At(749, 0.01, 2.5));
  EXPECT_EQ(passes[0].hi, At(751, 0.01, 2.5));
  EXPECT_FALSE(passes[0].converged);
  EXPECT_TRUE(passes[2].converged);
  EXPECT_NEAR(passes[2].lo, 9.99999972, 1e-8);
  EXPECT_NEAR(answer, 909.1110964760, 5e-11);
}

TEST(RefinePass, AFallFromTheFirstSampleKeepsLoAndMovesHiOneStep) {
  double answer = 0;
  const auto passes = Search(2, -2, answer);
  ASSERT_EQ(passes.size(), 5u);
  double step = static_cast<double>((static_cast<Extended>(1) - -1) / 1000);
  EXPECT_EQ(passes[0].hi, At(1, step, -1));
  for (const Pass& pass : passes) EXPECT_EQ(pass.lo, -1.0);
  EXPECT_EQ(answer, kovra::Volume(-1));
  EXPECT_NEAR(answer, 2 * M_PI, 1e-12);
}

TEST(RefinePass, EqualSamplesConvergeAtOnce) {
  double answer = 1;
  const auto passes = Search(0, 7, answer);
  ASSERT_EQ(passes.size(), 1u);
  EXPECT_EQ(passes[0].lo, 3.5);
  EXPECT_EQ(answer, 0.0);
  EXPECT_FALSE(std::signbit(answer));
}

TEST(RefinePass, ConvergesAtTheFirstSampleWhenTheVolumeBarelyRises) {
  double answer = 0;
  const auto passes = Search(0.0005, 2, answer);
  ASSERT_EQ(passes.size(), 1u);
  EXPECT_EQ(passes[0].lo, 1.0);
  EXPECT_NEAR(answer, M_PI * 0.0005, 1e-15);
}

TEST(Height, IsZeroPastTheFlatEndOfTheRange) {
  // With L = 8015 and d = 0.5 the rounded step carries the last sample of the first pass to the
  // double just above 8015.5, where L^2 - (a - d)^2 is negative.
  kovra::L = 8015;
  kovra::d = 0.5;
  const double step = static_cast<double>(static_cast<Extended>(8015.5) - 0.5) / 1000;
  const double last = At(1000, step, 0.5);
  ASSERT_GT(last, 8015.5);
  EXPECT_EQ(kovra::Height(last), 0.0);
  EXPECT_EQ(kovra::Volume(last), 0.0);
  EXPECT_EQ(kovra::Height(8015.5), 0.0);
  EXPECT_EQ(kovra::Height(0.5), 8015.0);
}

TEST(Volume, GroupsTheTermsAsPiOverThreeTimesHeightTimesTheSum) {
  kovra::L = 5;
  kovra::d = 1;
  // a = 4: height 4, a^2 + d^2 + d*a = 21, volume 28 pi.
  EXPECT_EQ(kovra::Height(4), 4.0);
  EXPECT_EQ(kovra::Volume(4), static_cast<double>(kovra::PiOverThree * 4 * 21));
  EXPECT_NEAR(kovra::Volume(4), 28 * M_PI, 1e-12);
}

}  // namespace
