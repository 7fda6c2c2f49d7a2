// Tillock drivers (both variants) on the standard workload: 4000 samples, 100 periods from 0.5 s
// to 5 s (the isolation range), friction coefficients 0.03 and 0.08, uy = 0.01.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "tillock/driver.h"
#include "tillock/driver_weight.h"
#include "workloads.h"

namespace {

constexpr double kG = 386.1;
constexpr double kUy = 0.01;

// The standard record (peak 3 m/s²) in in/s², the units of gravity 386.1.
std::vector<double> recordInches() {
  std::vector<double> ag = bench::standardRecord();
  for (double& x : ag) x *= kG / 9.81;
  return ag;
}

// Items are the time steps of the nonlinear analyses: 2·nAg − 1 per period and friction
// coefficient (record plus free-vibration tail); sub-steps and the linear reference analyses
// come on top.
void setItems(benchmark::State& state, std::size_t nAg, std::size_t pairs) {
  state.SetItemsProcessed(state.iterations() * static_cast<long>((2 * nAg - 1) * pairs));
}

void massVariant(benchmark::State& state) {
  const std::vector<double> ag = recordInches();
  const std::vector<double> T = bench::logPeriods(0.5, 5.0, 100);
  const std::vector<double> frn = {0.03, 0.08};
  const int nT = static_cast<int>(T.size());
  const int n = nT * static_cast<int>(frn.size());
  std::vector<double> out(21 * static_cast<std::size_t>(n));
  std::vector<double> f(T.size());
  double pga = 0.0;
  for (auto _ : state) {
    std::fill(out.begin(), out.end(), 0.0);
    double* o = out.data();
    tillock::getSpectra(&pga, f.data(), o, o + n, o + 2 * n, o + 3 * n, o + 4 * n, o + 5 * n,
                        o + 6 * n, o + 7 * n, o + 8 * n, o + 9 * n, o + 10 * n, o + 11 * n,
                        o + 12 * n, o + 13 * n, o + 14 * n, o + 15 * n, o + 16 * n, o + 17 * n,
                        o + 18 * n, o + 19 * n, o + 20 * n, ag.data(),
                        static_cast<int>(ag.size()), bench::kStandardDt, T.data(), nT, 1.0,
                        frn.data(), static_cast<int>(frn.size()), kUy, kG);
    benchmark::DoNotOptimize(out.data());
  }
  setItems(state, ag.size(), static_cast<std::size_t>(n));
}

void weightVariant(benchmark::State& state) {
  const std::vector<double> ag = recordInches();
  const std::vector<double> T = bench::logPeriods(0.5, 5.0, 100);
  const std::vector<double> frn = {0.03, 0.08};
  const int nT = static_cast<int>(T.size());
  const int n = nT * static_cast<int>(frn.size());
  std::vector<double> out(17 * static_cast<std::size_t>(n));
  std::vector<double> f(T.size());
  double pga = 0.0;
  for (auto _ : state) {
    std::fill(out.begin(), out.end(), 0.0);
    double* o = out.data();
    tillock::weight::getSpectra(&pga, f.data(), o, o + n, o + 2 * n, o + 3 * n, o + 4 * n,
                                o + 5 * n, o + 6 * n, o + 7 * n, o + 8 * n, o + 9 * n,
                                o + 10 * n, o + 11 * n, o + 12 * n, o + 13 * n, o + 14 * n,
                                o + 15 * n, o + 16 * n, ag.data(), static_cast<int>(ag.size()),
                                bench::kStandardDt, T.data(), nT, kG, frn.data(),
                                static_cast<int>(frn.size()), kUy, tillock::weight::kGravity);
    benchmark::DoNotOptimize(out.data());
  }
  setItems(state, ag.size(), static_cast<std::size_t>(n));
}

}  // namespace

BENCHMARK(massVariant)->Unit(benchmark::kMillisecond);
BENCHMARK(weightVariant)->Unit(benchmark::kMillisecond);
