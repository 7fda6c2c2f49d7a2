// Quorvel driver on the standard workload: 4000 samples, 100 periods from 0.02 s to 10 s, ζ = 0.05.
#include <benchmark/benchmark.h>

#include <vector>

#include "quorvel/driver.h"
#include "workloads.h"

namespace {

void elasticSpectra(benchmark::State& state, const char* method) {
  const std::vector<double>& ag = bench::standardRecord();
  const std::vector<double> T = bench::logPeriods(0.02, 10.0, 100);
  const std::vector<double> zeta = {0.05};
  const int nT = static_cast<int>(T.size());
  std::vector<double> out(10 * T.size());
  std::vector<double> f(T.size());
  double pga = 0.0;
  for (auto _ : state) {
    std::fill(out.begin(), out.end(), 0.0);
    double* o = out.data();
    quorvel::getSpectra(&pga, f.data(), o, o + nT, o + 2 * nT, o + 3 * nT, o + 4 * nT, o + 5 * nT,
                        o + 6 * nT, o + 7 * nT, o + 8 * nT, o + 9 * nT, ag.data(),
                        static_cast<int>(ag.size()), bench::kStandardDt, T.data(), nT, 1.0,
                        zeta.data(), 1, method);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() *
                          bench::elasticSteps(static_cast<int>(ag.size()), bench::kStandardDt, T, zeta));
}

}  // namespace

BENCHMARK_CAPTURE(elasticSpectra, recform, "recform")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(elasticSpectra, newmark, "newmark")->Unit(benchmark::kMillisecond);
