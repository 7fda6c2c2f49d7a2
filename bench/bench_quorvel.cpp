// Quorvel driver on the standard workload: 4000 samples, 100 periods from 0.02 s to 10 s, ζ = 0.05.
#include <benchmark/benchmark.h>

#include <vector>

#include "quorvel/driver.h"
#include "core/spectra/output_store.h"
#include "workloads.h"

namespace {

void elasticSpectra(benchmark::State& state, const char* method) {
  const std::vector<double>& ag = bench::standardRecord();
  const std::vector<double> T = bench::logPeriods(0.02, 10.0, 100);
  const std::vector<double> zeta = {0.05};
  const int nT = static_cast<int>(T.size());
  quorvel::Inputs in;
  in.ag = {ag.data(), static_cast<int>(ag.size())};
  in.dt = bench::kStandardDt;
  in.m = 1.0;
  in.zeta = {zeta.data(), 1};
  in.periods = {T.data(), nT};
  in.method = method;
  for (auto _ : state) {
    const core::OutputStore store(nT, 1);
    quorvel::getSpectra(store.outputs(), in);
    benchmark::DoNotOptimize(store.outputs().dsp);
  }
  state.SetItemsProcessed(state.iterations() *
                          bench::elasticSteps(static_cast<int>(ag.size()), bench::kStandardDt, T, zeta));
}

}  // namespace

BENCHMARK_CAPTURE(elasticSpectra, recform, "recform")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(elasticSpectra, newmark, "newmark")->Unit(benchmark::kMillisecond);
