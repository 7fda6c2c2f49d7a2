// Granwick driver on the standard record and a second component (the same synthetic motion of
// another seed): 20 pendulum periods from 1 s to 5 s, two friction coefficients, uy = 1 mm.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "records/synthetic_record.h"
#include "granwick/driver.h"
#include "core/spectra/output_store.h"
#include "workloads.h"

namespace {

void frictionPendulum2dSpectra(benchmark::State& state) {
  const std::vector<double>& ag1 = bench::standardRecord();
  const std::vector<double> ag2 =
      records::syntheticRecord(static_cast<int>(ag1.size()), bench::kStandardDt, 2, 2.0);
  const std::vector<double> T = bench::logPeriods(1.0, 5.0, 20);
  const std::vector<double> frn = {0.03, 0.06};
  const int nT = static_cast<int>(T.size());
  const int nFrn = static_cast<int>(frn.size());
  const int nAg = static_cast<int>(ag1.size());
  const int cells = nT * nFrn;
  granwick::Inputs in;
  in.ag1 = {ag1.data(), nAg};
  in.ag2 = {ag2.data(), nAg};
  in.dt = bench::kStandardDt;
  in.m = 1.0;
  in.g = 9.81;
  in.frn = {frn.data(), nFrn};
  in.periods = {T.data(), nT};
  in.uy = 0.001;
  for (auto _ : state) {
    const core::OutputStore store(nT, nFrn);
    granwick::getSpectra(store.outputs(), in);
    benchmark::DoNotOptimize(store.outputs().dsp);
  }
  // Per pair: the coupled isolator analysis and four one-component linear ones, each over twice
  // the record.
  const long steps = 5L * cells * (2L * nAg - 1);
  state.SetItemsProcessed(state.iterations() * steps);
}

}  // namespace

BENCHMARK(frictionPendulum2dSpectra)->Unit(benchmark::kMillisecond);
