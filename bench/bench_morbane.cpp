// Morbane driver on the standard workload: the yield-strength form over 100 periods and the
// ductility search over a handful of periods, both at ζ = 0.05.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "core/numerics/history_length.h"
#include "morbane/newmark_var.h"
#include "core/numerics/peaks.h"
#include "morbane/driver.h"
#include "core/spectra/output_store.h"
#include "workloads.h"

namespace {

constexpr double kMass = 1.0;
constexpr double kKin = 0.02;
constexpr double kIso = 0.0;

// Oscillator-steps one driver call integrates: per oscillator its history length times the number
// of analyses (the elastic one, the trials of a ductility search, the final one). The trials are
// counted by repeating the search the driver makes.
long stepsIntegrated(const std::vector<double>& ag, const std::vector<double>& T, double zeta,
                     bool search, double para) {
  const std::int32_t nAg = static_cast<std::int32_t>(ag.size());
  const double twoPi = std::acos(-1.0) + std::acos(-1.0);
  const std::int64_t nMax = core::historyCapacity(nAg, zeta, T.back(), bench::kStandardDt);
  std::vector<double> u(nMax), v(nMax), a(nMax), fs(nMax);
  long steps = 0;
  double umax = 0.0;
  for (double period : T) {
    const double omega = twoPi / period;
    const double k = (kMass * omega) * omega;
    const std::int32_t nTH = core::historyLength(nAg, zeta, omega, bench::kStandardDt, nMax);
    int analyses = 2;
    bool searching = search;
    for (double x = 1.0; searching && analyses < 2 + 26; ++analyses) {
      if (morbane::newmarkVar(u.data(), v.data(), a.data(), fs.data(), ag.data(), nAg, nTH,
                           bench::kStandardDt, kMass, zeta, k, std::exp(x), kKin, kIso, 0.25, 0.5,
                           "Morbane") == 0)
        umax = core::peakAbs(u.data(), nTH);
      const double y = std::log((k * umax) / para);
      if (!(std::fabs(y - x) > 0.001)) searching = false;
      x = y;
    }
    steps += static_cast<long>(nTH) * analyses;
  }
  return steps;
}

void inelasticSpectra(benchmark::State& state, const char* method, double para,
                      std::vector<double> T) {
  const std::vector<double>& ag = bench::standardRecord();
  const std::vector<double> zeta = {0.05};
  const int nT = static_cast<int>(T.size());
  morbane::Inputs in;
  in.ag = {ag.data(), static_cast<int>(ag.size())};
  in.dt = bench::kStandardDt;
  in.m = kMass;
  in.zeta = {zeta.data(), 1};
  in.periods = {T.data(), nT};
  in.kin = kKin;
  in.iso = kIso;
  in.method = method;
  in.para = para;
  for (auto _ : state) {
    const core::OutputStore store(nT, 1);
    if (morbane::getSpectra(store.outputs(), in) != 0) {
      state.SkipWithError("the driver failed on this workload");
      return;
    }
    benchmark::DoNotOptimize(store.outputs().dsp);
  }
  const bool search = method[0] == 'd';
  state.SetItemsProcessed(state.iterations() * stepsIntegrated(ag, T, 0.05, search, para));
}

}  // namespace

BENCHMARK_CAPTURE(inelasticSpectra, yieldStrength, "yieldStrength", 0.5,
                  bench::logPeriods(0.02, 10.0, 100))
    ->Unit(benchmark::kMillisecond);
// Periods at which the search settles for the standard record (at many others it does not).
BENCHMARK_CAPTURE(inelasticSpectra, ductilityFactor, "ductilityFactor", 4.0,
                  std::vector<double>{0.2, 0.35, 0.6, 0.86, 1.24})
    ->Unit(benchmark::kMillisecond);
