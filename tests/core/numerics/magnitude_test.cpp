// Resultants by the library power function: they differ from products in the last bit for some
// inputs, and the two-component spectra must carry the power-function value.
#include "core/numerics/magnitude.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "core/spectra/output_store.h"
#include "daskent/driver.h"
#include "support/calls.h"

namespace {

// Kept volatile so that the compiler cannot turn the test's own pow(x, 2.0) into x·x either.
volatile double kTwo = 2.0;

double libraryPowerSquare(double x) { return std::pow(x, kTwo); }

// A deterministic search for an x whose power-function square differs from the product.
double squareWherePowerAndProductDiffer() {
  std::mt19937_64 generator(7);
  std::uniform_real_distribution<double> values(0.5, 4.0);
  for (int trial = 0; trial < 1000000; ++trial) {
    const double x = values(generator);
    if (libraryPowerSquare(x) != x * x) return x;
  }
  return 0.0;
}

TEST(magnitude, squares_come_from_the_power_function_not_a_product) {
  const double x = squareWherePowerAndProductDiffer();
  if (x == 0.0) GTEST_SKIP() << "this C library's pow(x, 2.0) always equals x*x";
  EXPECT_TRUE(support::sameBits(core::powerSquare(x), libraryPowerSquare(x)));
  EXPECT_FALSE(support::sameBits(core::powerSquare(x), x * x));
  EXPECT_TRUE(support::sameBits(core::power(x, 3.0), std::pow(x, kTwo + 1.0)));
}

TEST(magnitude, peak_ground_acceleration_of_daskent_depends_on_it) {
  // Find a pair whose resultant differs between the two ways of squaring, then check that the
  // driver reports the power-function value as "pga" of a one-sample record.
  std::mt19937_64 generator(11);
  std::uniform_real_distribution<double> values(0.1, 3.0);
  double x = 0.0, y = 0.0;
  for (int trial = 0; trial < 1000000; ++trial) {
    x = values(generator);
    y = values(generator);
    if (core::magnitude(x, y) != std::sqrt(x * x + y * y)) break;
  }
  if (core::magnitude(x, y) == std::sqrt(x * x + y * y))
    GTEST_SKIP() << "no pair found whose resultant depends on how squares are formed";
  EXPECT_TRUE(support::sameBits(core::magnitude(x, y),
                                std::sqrt(libraryPowerSquare(x) + libraryPowerSquare(y))));

  const double ag1[] = {x}, ag2[] = {y}, T[] = {1.0}, zeta[] = {0.05};
  core::OutputStore store(1, 1);
  daskent::Inputs in;
  in.ag1 = {ag1, 1};
  in.ag2 = {ag2, 1};
  in.dt = 0.01;
  in.m = 1.0;
  in.zeta = {zeta, 1};
  in.periods = {T, 1};
  ASSERT_EQ(daskent::getSpectra(store.outputs(), in), 0);
  const double pga = store.pga();
  EXPECT_TRUE(support::sameBits(pga, core::magnitude(x, y)));
  EXPECT_FALSE(support::sameBits(pga, std::sqrt(x * x + y * y)));
  // Sample 0 of the histories is a = −ag, so the relative acceleration peak is the same resultant.
  EXPECT_TRUE(support::sameBits(store.outputs().acc[0], pga));
}

}  // namespace
