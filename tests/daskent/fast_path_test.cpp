// The fast two-component path against the straightforward one: every output, for every vector
// unit and thread count, including records that make pow(x, 2) and x·x differ.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/runtime/execution.h"
#include "daskent/driver.h"
#include "support/calls.h"
#include "support/reference.h"

namespace {

struct Case {
  std::string name;
  std::vector<double> ag1, ag2;
  double dt;
  std::vector<double> T, zeta;
};

// Every elastic output in one vector: pga, f, the ten matrices, and the status last.
core::SpectraOutputs packed(std::vector<double>& out, int nT, int n) {
  core::SpectraOutputs o;
  o.pga = out.data();
  o.f = out.data() + 1;
  double* m = out.data() + 1 + nT;
  for (double* core::SpectraOutputs::*slot :
       {&core::SpectraOutputs::dsp, &core::SpectraOutputs::vel, &core::SpectraOutputs::acc,
        &core::SpectraOutputs::totAcc, &core::SpectraOutputs::psdVel,
        &core::SpectraOutputs::psdAcc, &core::SpectraOutputs::resDsp, &core::SpectraOutputs::iFrc,
        &core::SpectraOutputs::dFrc, &core::SpectraOutputs::rFrc}) {
    o.*slot = m;
    m += n;
  }
  return o;
}

std::vector<double> run(const Case& c, const char* method, bool straightforward) {
  const int nT = static_cast<int>(c.T.size()), nZ = static_cast<int>(c.zeta.size());
  std::vector<double> out(2 + nT + 10 * nT * nZ, 0.0);
  daskent::Inputs in;
  // The first component's length, as the cases were written (the second is as long or longer).
  in.ag1 = {c.ag1.data(), static_cast<int>(c.ag1.size())};
  in.ag2 = {c.ag2.data(), static_cast<int>(c.ag1.size())};
  in.dt = c.dt;
  in.m = 0.7;
  in.zeta = {c.zeta.data(), nZ};
  in.periods = {c.T.data(), nT};
  in.method = method;
  auto call = straightforward ? daskent::getSpectraStraightforward : daskent::getSpectra;
  out.back() = call(packed(out, nT, nT * nZ), in);
  return out;
}

TEST(DaskentFastPath, matches_the_straightforward_path) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<Case> cases;
  std::vector<double> periods;
  for (int i = 0; i < 29; ++i) periods.push_back(0.03 * std::pow(300.0, i / 28.0));
  cases.push_back({"periods and three damping ratios", support::testRecord(400, 0.01, 2.0),
                   support::testRecord(400, 0.013, 1.2), 0.01, periods, {0.02, 0.05, 0.1}});
  std::vector<double> withNan = support::testRecord(120, 0.02);
  withNan[30] = nan;
  cases.push_back({"NaN, zero and extreme periods, unusual damping", withNan,
                   support::testRecord(120, 0.02), 0.02, {0.0, 1e-3, 2.0, 1e4, 0.4},
                   {0.05, 0.0, 1.5}});
  cases.push_back({"second component at rest", support::testRecord(200, 0.01),
                   std::vector<double>(200, 0.0), 0.01, {0.2, 0.9}, {0.05}});
  for (const Case& c : cases)
    for (const char* method : {"recform", "newmark"}) {
      core::setThreadCount(1);
      const std::vector<double> expected = run(c, method, true);
      for (int unit = 0; unit <= static_cast<int>(core::widestVectorUnit()); ++unit)
        for (int threads : {1, 2, 3}) {
          core::setVectorUnit(static_cast<core::VectorUnit>(unit));
          core::setThreadCount(threads);
          const std::vector<double> got = run(c, method, false);
          for (std::size_t i = 0; i < got.size(); ++i)
            ASSERT_TRUE(support::sameResult(got[i], expected[i]))
                << c.name << ", " << method << ", unit " << unit << ", " << threads
                << " threads: output " << i;
        }
    }
  core::setVectorUnit(core::widestVectorUnit());
  core::setThreadCount(0);
}

}  // namespace
