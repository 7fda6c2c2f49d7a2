// Daskent driver on the standard record and a second component (the same synthetic motion of
// another seed): 100 periods from 0.02 s to 10 s, ζ = 0.05, by either integrator.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/numerics/history_length.h"
#include "records/synthetic_record.h"
#include "daskent/driver.h"
#include "workloads.h"

namespace {

// One-component oscillator-steps of a call: two components per period, each over its own
// history length (record plus free-vibration tail).
long oscillatorSteps(int nAg, const std::vector<double>& T, double zeta) {
  const double twoPi = std::acos(-1.0) + std::acos(-1.0);
  const std::int64_t nMax = core::historyCapacity(nAg, zeta, T.back(), bench::kStandardDt);
  long steps = 0;
  for (double period : T)
    steps += 2L * (core::historyLength(nAg, zeta, twoPi / period, bench::kStandardDt, nMax) - 1);
  return steps;
}

void elastic2dSpectra(benchmark::State& state, const char* method) {
  const std::vector<double>& ag1 = bench::standardRecord();
  const std::vector<double> ag2 =
      records::syntheticRecord(static_cast<int>(ag1.size()), bench::kStandardDt, 2, 2.0);
  const std::vector<double> T = bench::logPeriods(0.02, 10.0, 100);
  const std::vector<double> zeta = {0.05};
  const int nT = static_cast<int>(T.size());
  const int nAg = static_cast<int>(ag1.size());
  std::vector<double> out(10 * T.size());
  std::vector<double> f(T.size());
  double pga = 0.0;
  for (auto _ : state) {
    std::fill(out.begin(), out.end(), 0.0);
    double* o = out.data();
    daskent::getSpectra(&pga, f.data(), o, o + nT, o + 2 * nT, o + 3 * nT, o + 4 * nT, o + 5 * nT,
                        o + 6 * nT, o + 7 * nT, o + 8 * nT, o + 9 * nT, ag1.data(), ag2.data(), nAg,
                        bench::kStandardDt, T.data(), nT, 1.0, zeta.data(), 1, method);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * oscillatorSteps(nAg, T, zeta[0]));
}

}  // namespace

BENCHMARK_CAPTURE(elastic2dSpectra, recform, "recform")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(elastic2dSpectra, newmark, "newmark")->Unit(benchmark::kMillisecond);
