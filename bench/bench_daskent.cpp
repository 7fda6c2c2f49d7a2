// Daskent driver on the standard record and a second component (the same synthetic motion of
// another seed): 100 periods from 0.02 s to 10 s, ζ = 0.05, by either integrator.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/numerics/history_length.h"
#include "records/synthetic_record.h"
#include "daskent/driver.h"
#include "core/spectra/output_store.h"
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
  daskent::Inputs in;
  in.ag1 = {ag1.data(), nAg};
  in.ag2 = {ag2.data(), nAg};
  in.dt = bench::kStandardDt;
  in.m = 1.0;
  in.zeta = {zeta.data(), 1};
  in.periods = {T.data(), nT};
  in.method = method;
  for (auto _ : state) {
    const core::OutputStore store(nT, 1);
    daskent::getSpectra(store.outputs(), in);
    benchmark::DoNotOptimize(store.outputs().dsp);
  }
  state.SetItemsProcessed(state.iterations() * oscillatorSteps(nAg, T, zeta[0]));
}

}  // namespace

BENCHMARK_CAPTURE(elastic2dSpectra, recform, "recform")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(elastic2dSpectra, newmark, "newmark")->Unit(benchmark::kMillisecond);
