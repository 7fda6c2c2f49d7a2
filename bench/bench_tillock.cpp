// Tillock drivers (both variants) on the standard workload: 4000 samples, 100 periods from 0.5 s
// to 5 s (the isolation range), friction coefficients 0.03 and 0.08, uy = 0.01.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "tillock/driver.h"
#include "tillock/driver_weight.h"
#include "core/spectra/output_store.h"
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
  tillock::Inputs in;
  in.ag = {ag.data(), static_cast<int>(ag.size())};
  in.dt = bench::kStandardDt;
  in.m = 1.0;
  in.g = kG;
  in.frn = {frn.data(), static_cast<int>(frn.size())};
  in.periods = {T.data(), nT};
  in.uy = kUy;
  for (auto _ : state) {
    const core::OutputStore store(nT, in.frn.count);
    tillock::getSpectra(store.outputs(), in);
    benchmark::DoNotOptimize(store.outputs().dsp);
  }
  setItems(state, ag.size(), static_cast<std::size_t>(n));
}

void weightVariant(benchmark::State& state) {
  const std::vector<double> ag = recordInches();
  const std::vector<double> T = bench::logPeriods(0.5, 5.0, 100);
  const std::vector<double> frn = {0.03, 0.08};
  const int nT = static_cast<int>(T.size());
  const int n = nT * static_cast<int>(frn.size());
  tillock::weight::Inputs in;
  in.ag = {ag.data(), static_cast<int>(ag.size())};
  in.dt = bench::kStandardDt;
  in.W = kG;
  in.frn = {frn.data(), static_cast<int>(frn.size())};
  in.periods = {T.data(), nT};
  in.uy = kUy;
  for (auto _ : state) {
    const core::OutputStore store(nT, in.frn.count);
    tillock::weight::getSpectra(store.outputs(), in);
    benchmark::DoNotOptimize(store.outputs().dsp);
  }
  setItems(state, ag.size(), static_cast<std::size_t>(n));
}

}  // namespace

BENCHMARK(massVariant)->Unit(benchmark::kMillisecond);
BENCHMARK(weightVariant)->Unit(benchmark::kMillisecond);
