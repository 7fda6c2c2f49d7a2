// The lane vectors of the nonlinear fast path: each operation the engine relies on is the scalar
// operation lane by lane, NaN, infinities, signed zeros and subnormals included, on the baseline
// unit and, where the processor has them, on AVX2 and AVX-512.
#include "core/lanes/lane_vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "support/calls.h"

namespace {

using core::lanes::Pack;
using core::lanes::PackMask;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Values that make IEEE operations take their special cases.
const std::vector<double> kValues = {0.0,      -0.0,   1.0,   -2.5,    kNaN, kInf, -kInf,
                                     4.9e-324, 1e-310, 1e308, -1e-300, 3.0,  2.0,  1e-16};

// For lane l of a pack of W·G lanes: x = kValues[l + shift], y = kValues[l + 2·shift].
template <int W, int G>
void fill(Pack<W, G>& x, Pack<W, G>& y, std::size_t shift) {
  for (int l = 0; l < W * G; ++l) {
    x[l] = kValues[(l + shift) % kValues.size()];
    y[l] = kValues[(l + 2 * shift) % kValues.size()];
  }
}

// The results of one pack width, lane by lane: √x, |x|, x/y, x − y and the selections and masks
// of x > y, x <= y (NaN false) and its negation (NaN true), and whether any lane of x > y holds.
struct Results {
  std::vector<double> root, abs, quotient, difference, greater, notLessEqual;
  std::vector<long long> greaterMask;
  bool anyGreater;
};

template <int W, int G>
__attribute__((always_inline)) inline void compute(std::size_t shift, Results& r) {
  Pack<W, G> x, y;
  fill(x, y, shift);
  const Pack<W, G> root = core::lanes::squareRoot(x);
  const Pack<W, G> abs = core::lanes::absolute(x);
  const Pack<W, G> quotient = x / y;
  const Pack<W, G> difference = x - y;
  const PackMask<W, G> gt = x > y;
  const PackMask<W, G> le = x <= y;
  const Pack<W, G> greater = core::lanes::select(gt, x, y);
  const Pack<W, G> notLessEqual = core::lanes::select(~le, x, y);
  r.anyGreater = core::lanes::any(gt);
  for (int l = 0; l < W * G; ++l) {
    r.root.push_back(root[l]);
    r.abs.push_back(abs[l]);
    r.quotient.push_back(quotient[l]);
    r.difference.push_back(difference[l]);
    r.greater.push_back(greater[l]);
    r.notLessEqual.push_back(notLessEqual[l]);
    r.greaterMask.push_back(gt[l]);
  }
}

#if defined(__x86_64__)
__attribute__((target("avx512f"))) void computeAvx512(std::size_t shift, Results& r) {
  compute<8, 2>(shift, r);
}
__attribute__((target("avx2"))) void computeAvx2(std::size_t shift, Results& r) {
  compute<4, 2>(shift, r);
}
#endif

void expectScalar(const Results& r, std::size_t shift, const char* unit) {
  bool anyGreater = false;
  for (std::size_t l = 0; l < r.root.size(); ++l) {
    const double x = kValues[(l + shift) % kValues.size()];
    const double y = kValues[(l + 2 * shift) % kValues.size()];
    const std::string where = std::string(unit) + ", lane " + std::to_string(l);
    EXPECT_TRUE(support::sameResult(r.root[l], std::sqrt(x))) << where;
    EXPECT_TRUE(support::sameBits(r.abs[l], std::fabs(x))) << where;
    EXPECT_TRUE(support::sameResult(r.quotient[l], x / y)) << where;
    EXPECT_TRUE(support::sameResult(r.difference[l], x - y)) << where;
    EXPECT_TRUE(support::sameResult(r.greater[l], x > y ? x : y)) << where;
    EXPECT_TRUE(support::sameResult(r.notLessEqual[l], !(x <= y) ? x : y)) << where;
    EXPECT_EQ(r.greaterMask[l], x > y ? -1 : 0) << where;
    anyGreater = anyGreater || x > y;
  }
  EXPECT_EQ(r.anyGreater, anyGreater) << unit;
}

TEST(LaneVector, every_operation_is_the_scalar_one_lane_by_lane) {
  for (std::size_t shift = 0; shift < kValues.size(); ++shift) {
    Results one, two;
    compute<1, 2>(shift, one);
    expectScalar(one, shift, "one lane per register");
    compute<2, 2>(shift, two);
    expectScalar(two, shift, "two lanes per register");
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2")) {
      Results four;
      computeAvx2(shift, four);
      expectScalar(four, shift, "AVX2");
    }
    if (__builtin_cpu_supports("avx512f")) {
      Results eight;
      computeAvx512(shift, eight);
      expectScalar(eight, shift, "AVX-512");
    }
#endif
  }
}

// A mask with only its last lane set is seen by any(); an empty one is not.
TEST(LaneVector, any_sees_every_lane) {
  for (int l = 0; l < 4; ++l) {
    PackMask<2, 2> m{};
    EXPECT_FALSE(core::lanes::any(m));
    m[l] = -1;
    EXPECT_TRUE(core::lanes::any(m)) << l;
  }
}

}  // namespace
