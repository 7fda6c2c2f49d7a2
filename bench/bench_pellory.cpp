// Pellory driver on the standard record: 20 post-yield periods from 1 s to 5 s, two strengths.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "pellory/driver.h"
#include "core/spectra/output_store.h"
#include "workloads.h"

namespace {

void leadRubberSpectra(benchmark::State& state) {
  const std::vector<double>& ag = bench::standardRecord();
  const std::vector<double> T = bench::logPeriods(1.0, 5.0, 20);
  const std::vector<double> Qd = {0.03 * 9.81, 0.06 * 9.81};  // per unit mass
  const int nT = static_cast<int>(T.size());
  const int nQd = static_cast<int>(Qd.size());
  const int nAg = static_cast<int>(ag.size());
  const int cells = nT * nQd;
  pellory::Inputs in;
  in.ag = {ag.data(), nAg};
  in.dt = bench::kStandardDt;
  in.m = 1.0;
  in.Qd = {Qd.data(), nQd};
  in.periods = {T.data(), nT};
  in.alpha = 0.1;
  for (auto _ : state) {
    const core::OutputStore store(nT, nQd);
    pellory::getSpectra(store.outputs(), in);
    benchmark::DoNotOptimize(store.outputs().dsp);
  }
  // Per pair: the bearing analysis and two linear ones, each over twice the record.
  const long steps = 3L * cells * (2L * nAg - 1);
  state.SetItemsProcessed(state.iterations() * steps);
}

}  // namespace

BENCHMARK(leadRubberSpectra)->Unit(benchmark::kMillisecond);
