// Measures beside the modules: RotD of the standard record and a second component (100 periods
// from 0.02 s to 10 s, ζ = 0.05, 180 angles) on one thread and on all, items = oscillator-step-
// angles; and band-limited resampling of the standard record.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/numerics/history_length.h"
#include "core/runtime/execution.h"
#include "measures/resample.h"
#include "measures/rotd.h"
#include "records/synthetic_record.h"
#include "workloads.h"

namespace {

// Samples of the pair's histories over all periods, times the angles: the projections formed.
std::int64_t stepAngles(int nAg, const std::vector<double>& T, double zeta, int angles) {
  const double twoPi = std::acos(-1.0) + std::acos(-1.0);
  const std::int64_t nMax = core::historyCapacity(nAg, zeta, T.back(), bench::kStandardDt);
  std::int64_t steps = 0;
  for (double period : T)
    steps += core::historyLength(nAg, zeta, twoPi / period, bench::kStandardDt, nMax);
  return steps * angles;
}

void rotdSpectrum(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0));
  const std::vector<double>& ag1 = bench::standardRecord();
  const std::vector<double> ag2 =
      records::syntheticRecord(static_cast<int>(ag1.size()), bench::kStandardDt, 2, 2.0);
  const std::vector<double> T = bench::logPeriods(0.02, 10.0, 100);
  const std::vector<double> zeta = {0.05};
  core::setThreadCount(threads);
  for (auto _ : state) {
    measures::RotDSpectra out = measures::rotdSpectra(ag1, ag2, bench::kStandardDt, T, zeta);
    benchmark::DoNotOptimize(out.sd.data());
  }
  core::setThreadCount(0);
  state.SetItemsProcessed(state.iterations() *
                          stepAngles(static_cast<int>(ag1.size()), T, zeta[0], 180));
}

void resampleRecord(benchmark::State& state) {
  const int factor = static_cast<int>(state.range(0));
  const std::vector<double>& ag = bench::standardRecord();
  for (auto _ : state) {
    std::vector<double> fine = measures::resample(ag, factor);
    benchmark::DoNotOptimize(fine.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(ag.size()) * factor);
}

}  // namespace

BENCHMARK(rotdSpectrum)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(resampleRecord)->Arg(2)->Arg(10)->Unit(benchmark::kMillisecond);
