// Vintarrow driver on the standard record and a second component (the same synthetic motion of
// another seed): 20 post-yield periods from 1 s to 5 s, two strengths.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "records/synthetic_record.h"
#include "vintarrow/driver.h"
#include "core/spectra/output_store.h"
#include "workloads.h"

namespace {

void leadRubber2dSpectra(benchmark::State& state) {
  const std::vector<double>& ag1 = bench::standardRecord();
  const std::vector<double> ag2 =
      records::syntheticRecord(static_cast<int>(ag1.size()), bench::kStandardDt, 2, 2.0);
  const std::vector<double> T = bench::logPeriods(1.0, 5.0, 20);
  const std::vector<double> Qd = {0.03 * 9.81, 0.06 * 9.81};  // per unit mass
  const int nT = static_cast<int>(T.size());
  const int nQd = static_cast<int>(Qd.size());
  const int nAg = static_cast<int>(ag1.size());
  const int cells = nT * nQd;
  vintarrow::Inputs in;
  in.ag1 = {ag1.data(), nAg};
  in.ag2 = {ag2.data(), nAg};
  in.dt = bench::kStandardDt;
  in.m = 1.0;
  in.Qd = {Qd.data(), nQd};
  in.periods = {T.data(), nT};
  in.alpha = 0.1;
  for (auto _ : state) {
    const core::OutputStore store(nT, nQd);
    vintarrow::getSpectra(store.outputs(), in);
    benchmark::DoNotOptimize(store.outputs().dsp);
  }
  // Per pair: the coupled bearing analysis and four one-component linear ones, each over twice
  // the record.
  const long steps = 5L * cells * (2L * nAg - 1);
  state.SetItemsProcessed(state.iterations() * steps);
}

}  // namespace

BENCHMARK(leadRubber2dSpectra)->Unit(benchmark::kMillisecond);
