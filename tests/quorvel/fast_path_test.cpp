// The fast elastic path against the straightforward one: every output bit for bit, for every
// vector unit and thread count, on inputs chosen to stress the lanes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/runtime/execution.h"
#include "quorvel/driver.h"
#include "support/calls.h"
#include "support/reference.h"

namespace {

struct Case {
  std::string name;
  std::vector<double> ag;
  double dt;
  std::vector<double> T;
  std::vector<double> zeta;
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
  quorvel::Inputs in;
  in.ag = {c.ag.data(), static_cast<int>(c.ag.size())};
  in.dt = c.dt;
  in.m = 1.3;
  in.zeta = {c.zeta.data(), nZ};
  in.periods = {c.T.data(), nT};
  in.method = method;
  auto call = straightforward ? quorvel::getSpectraStraightforward : quorvel::getSpectra;
  out.back() = call(packed(out, nT, nT * nZ), in);
  return out;
}

std::vector<Case> cases() {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<Case> list;
  std::vector<double> periods;
  for (int i = 0; i < 37; ++i) periods.push_back(0.02 * std::pow(500.0, i / 36.0));
  list.push_back({"many periods, three damping ratios", support::testRecord(600, 0.01, 3.0), 0.01,
                  periods, {0.02, 0.05, 0.1}});
  list.push_back({"unsorted periods, very short and very long", support::testRecord(300, 0.02),
                  0.02, {3.0, 0.001, 50.0, 0.4, 1e4, 0.05, 7.0}, {0.05, 0.0}});
  list.push_back({"undamped first ratio, critical and over-damping",
                  support::testRecord(200, 0.01), 0.01, {0.1, 0.5, 2.0}, {0.0, 1.0, 1.5, 0.3}});
  std::vector<double> withNan = support::testRecord(150, 0.01);
  withNan[40] = nan;
  list.push_back({"NaN sample in the record", withNan, 0.01, {0.2, 1.0, 0.0}, {0.05, nan}});
  list.push_back({"one-sample record", {0.8}, 0.01, {0.3, 0.6}, {0.05}});
  list.push_back({"negative last period", support::testRecord(100, 0.01), 0.01, {0.5, -0.5},
                  {0.05, 0.0}});
  // Responses that overflow: lanes ending at an infinite displacement must keep it as residual.
  list.push_back({"overflowing response", {0.0, 0.0, 0.0, 1.7e308}, 100.0, {100.0, 1.0, 30.0},
                  {0.05, 0.0}});
  list.push_back({"huge record, long step", {0.0, 0.0, 0.0, 1e308}, 0.01, {1.0, 0.2}, {0.05, 0.0}});
  return list;
}

TEST(ElasticFastPath, matches_the_straightforward_path_bit_for_bit) {
  const core::VectorUnit widest = core::widestVectorUnit();
  for (const Case& c : cases())
    for (const char* method : {"recform", "newmark"}) {
      const std::vector<double> expected = run(c, method, true);
      for (int unit = 0; unit <= static_cast<int>(widest); ++unit)
        for (int threads : {1, 2, 3}) {
          core::setVectorUnit(static_cast<core::VectorUnit>(unit));
          core::setThreadCount(threads);
          const std::vector<double> got = run(c, method, false);
          for (std::size_t i = 0; i < got.size(); ++i)
            ASSERT_TRUE(support::sameResult(got[i], expected[i]))
                << c.name << ", " << method << ", unit " << unit << ", " << threads
                << " threads: output " << i << " is " << got[i] << ", expected " << expected[i];
        }
    }
  core::setVectorUnit(widest);
  core::setThreadCount(0);
}

}  // namespace
