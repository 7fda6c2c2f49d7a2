// Vintarrow driver on the standard record and a second component (the same synthetic motion of
// another seed): 20 post-yield periods from 1 s to 5 s, two strengths.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "records/synthetic_record.h"
#include "vintarrow/driver.h"
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
  std::vector<double> out(21 * static_cast<std::size_t>(cells));
  std::vector<double> f(T.size());
  double pga = 0.0;
  for (auto _ : state) {
    std::fill(out.begin(), out.end(), 0.0);
    double* o[21];
    for (int i = 0; i < 21; ++i) o[i] = out.data() + static_cast<std::size_t>(i) * cells;
    vintarrow::getSpectra(&pga, f.data(), o[0], o[1], o[2], o[3], o[4], o[5], o[6], o[7], o[8],
                          o[9], o[10], o[11], o[12], o[13], o[14], o[15], o[16], o[17], o[18],
                          o[19], o[20], ag1.data(), ag2.data(), nAg, bench::kStandardDt, T.data(),
                          nT, 1.0, Qd.data(), nQd, 0.1);
    benchmark::DoNotOptimize(out.data());
  }
  // Per pair: the coupled bearing analysis and four one-component linear ones, each over twice
  // the record.
  const long steps = 5L * cells * (2L * nAg - 1);
  state.SetItemsProcessed(state.iterations() * steps);
}

}  // namespace

BENCHMARK(leadRubber2dSpectra)->Unit(benchmark::kMillisecond);
