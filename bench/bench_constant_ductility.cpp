// Constant-ductility spectrum by the largest-strength rule: 100 periods (0.05–5 s, evenly spaced,
// the program's default) of the 40 s standard record at dt = 0.01 s, μ = 4, ζ = 0.05,
// elastoplastic, on one thread and on all. One item is one step of one analysis (the elastic
// reference and every trial of the search), so time per item reads as nanoseconds per
// oscillator-step; "trials" is the mean number of trial analyses per oscillator. The fast path
// (trials side by side in vector lanes) runs beside the straightforward one (SPECTRA_PATH=
// straightforward: one trial at a time on full histories).
#include <benchmark/benchmark.h>

#include <cmath>
#include <thread>
#include <vector>

#include "core/numerics/history_length.h"
#include "core/runtime/execution.h"
#include "measures/constant_ductility.h"
#include "workloads.h"

namespace {

std::vector<double> defaultPeriods() {
  std::vector<double> T(100);
  const double step = (5.0 - 0.05) / 99.0;
  T[0] = 0.05;
  for (std::size_t i = 1; i < T.size(); ++i) T[i] = step + T[i - 1];
  return T;
}

// Oscillator-steps of one spectrum: per oscillator its history length times its analyses.
long stepsOf(const measures::ConstantDuctilitySpectrum& s, const measures::DuctilityOscillators& o,
             std::int32_t nAg) {
  const double twoPi = std::acos(-1.0) + std::acos(-1.0);
  const double zeta = o.dampingRatios[0];
  const std::int64_t nMax = core::historyCapacity(nAg, zeta, o.periods.back(), bench::kStandardDt);
  long steps = 0;
  for (std::int32_t i = 0; i < s.periodCount; ++i) {
    const std::int32_t nTH =
        core::historyLength(nAg, zeta, twoPi / o.periods[i], bench::kStandardDt, nMax);
    steps += static_cast<long>(nTH - 1) * (s.at(i, 0).trials + 1);
  }
  return steps;
}

void constantDuctility(benchmark::State& state, bool straightforward) {
  const std::vector<double>& ag = bench::standardRecord();
  measures::DuctilityOscillators o;
  o.periods = defaultPeriods();
  o.dampingRatios = {0.05};
  core::setThreadCount(static_cast<int>(state.range(0)));
  core::setStraightforward(straightforward);
  measures::ConstantDuctilitySpectrum s;
  for (auto _ : state) {
    s = measures::constantDuctilitySpectrum(ag, bench::kStandardDt, o, 4.0);
    benchmark::DoNotOptimize(s.points.data());
  }
  core::setStraightforward(false);
  core::setThreadCount(0);
  if (!s.warnings.empty()) state.SkipWithError(s.warnings.front().c_str());
  long trials = 0;
  for (const measures::DuctilityPoint& p : s.points) trials += p.trials;
  state.counters["trials"] = static_cast<double>(trials) / static_cast<double>(s.points.size());
  state.SetItemsProcessed(state.iterations() *
                          stepsOf(s, o, static_cast<std::int32_t>(ag.size())));
}

const int kAllThreads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

}  // namespace

BENCHMARK_CAPTURE(constantDuctility, fast, false)
    ->Arg(1)
    ->Arg(kAllThreads)
    ->ArgName("threads")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(constantDuctility, straightforward, true)
    ->Arg(1)
    ->Arg(kAllThreads)
    ->ArgName("threads")
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
