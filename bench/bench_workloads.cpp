// Every module on the three speed workloads, on one thread and on all, through the gateways:
//   W1  4,000 samples at dt = 0.01 s, 100 periods, one value of the swept parameter;
//   W2  the same record, 300 periods, three values;
//   W3  40,000 samples at dt = 0.005 s, 100 periods, one value.
// Elastic modules use periods log-spaced over 0.02–10 s and ζ = 0.05 (W2: 0.02, 0.05, 0.10), the
// isolators 0.5–6 s. Every module runs its fast path and its straightforward one-oscillator-at-a-
// time path (SPECTRA_PATH=straightforward), so that both are timed in the same run. One
// item is one step of the module's main analysis of one oscillator (the linear reference runs
// of the nonlinear modules and the ductility trials come on top), so time per item reads as
// nanoseconds per oscillator-step.
#include <benchmark/benchmark.h>

#include <string>
#include <thread>
#include <vector>

#include "core/runtime/execution.h"
#include "core/numerics/history_length.h"
#include "records/synthetic_record.h"
#include "quorvel/gateway.h"
#include "daskent/gateway.h"
#include "tillock/gateway.h"
#include "granwick/gateway.h"
#include "host/host.h"
#include "morbane/gateway.h"
#include "pellory/gateway.h"
#include "vintarrow/gateway.h"
#include "workloads.h"

namespace {

struct Workload {
  int nAg;
  double dt;
  int nPeriods;
  int nValues;
};

const Workload kWorkloads[] = {{4000, 0.01, 100, 1}, {4000, 0.01, 300, 3}, {40000, 0.005, 100, 1}};

enum class Module { Quorvel, Daskent, Morbane, Tillock, Granwick, Pellory, Vintarrow };

// Records in m/s² with a 3 m/s² peak, the second component from another seed.
const std::vector<double>& record(const Workload& w, int component) {
  static std::vector<double> cache[3][2];
  const int index = static_cast<int>(&w - kWorkloads);
  std::vector<double>& r = cache[index][component];
  if (r.empty()) r = records::syntheticRecord(w.nAg, w.dt, 1 + component, 3.0);
  return r;
}

std::vector<double> swept(Module module, int n) {
  static const double zeta[] = {0.05, 0.02, 0.10};
  static const double frn[] = {0.05, 0.03, 0.08};
  static const double qd[] = {0.05 * 9.81, 0.03 * 9.81, 0.08 * 9.81};  // per unit mass
  const double* values = module == Module::Tillock || module == Module::Granwick ? frn
                         : module == Module::Pellory || module == Module::Vintarrow ? qd
                                                                                     : zeta;
  return std::vector<double>(values, values + n);
}

bool elastic(Module m) { return m == Module::Quorvel || m == Module::Daskent || m == Module::Morbane; }

// Steps of the main analysis of every pair.
long stepsOf(Module module, const Workload& w, const std::vector<double>& T,
             const std::vector<double>& values) {
  if (!elastic(module)) return static_cast<long>(T.size() * values.size()) * (2L * w.nAg - 1);
  return bench::elasticSteps(w.nAg, w.dt, T, values);
}

struct Inputs {
  std::vector<host::Value> values;
  host::Gateway gateway;
};

Inputs inputsFor(Module module, const Workload& w, const std::vector<double>& T,
                 const std::vector<double>& values) {
  Inputs in;
  auto add = [&](host::Value v) { in.values.push_back(std::move(v)); };
  add(host::column(record(w, 0)));
  if (module == Module::Daskent || module == Module::Granwick || module == Module::Vintarrow)
    add(host::column(record(w, 1)));
  add(host::scalar(w.dt));
  add(host::scalar(1.0));  // mass
  switch (module) {
    case Module::Quorvel:
    case Module::Daskent:
      add(host::row(values));
      add(host::column(T));
      in.gateway = module == Module::Quorvel ? quorvel::mexFunction : daskent::mexFunction;
      break;
    case Module::Morbane:
      add(host::row(values));
      add(host::column(T));
      add(host::scalar(0.02));
      add(host::scalar(0.0));
      add(host::text("R"));
      add(host::scalar(4.0));
      in.gateway = morbane::mexFunction;
      break;
    case Module::Tillock:
    case Module::Granwick:
      add(host::scalar(9.81));
      add(host::row(values));
      add(host::column(T));
      add(host::scalar(0.005));
      in.gateway = module == Module::Tillock ? tillock::mexFunction : granwick::mexFunction;
      break;
    case Module::Pellory:
    case Module::Vintarrow:
      add(host::row(values));
      add(host::column(T));
      add(host::scalar(0.1));
      in.gateway = module == Module::Pellory ? pellory::mexFunction : vintarrow::mexFunction;
      break;
  }
  return in;
}

void spectra(benchmark::State& state, Module module, int workload, bool straightforward) {
  const Workload& w = kWorkloads[workload];
  const int threads = static_cast<int>(state.range(0));
  const std::vector<double> T = elastic(module) ? bench::logPeriods(0.02, 10.0, w.nPeriods)
                                                : bench::logPeriods(0.5, 6.0, w.nPeriods);
  const std::vector<double> values = swept(module, w.nValues);
  const Inputs in = inputsFor(module, w, T, values);
  std::vector<const mxArray*> args;
  for (const host::Value& v : in.values) args.push_back(v.get());
  core::setThreadCount(threads);
  core::setStraightforward(straightforward);
  for (auto _ : state) {
    const host::Outcome out = host::call(in.gateway, 1, args);
    if (!out.ok) state.SkipWithError(out.error.c_str());
    benchmark::DoNotOptimize(out.result);
  }
  core::setStraightforward(false);
  core::setThreadCount(0);
  state.SetItemsProcessed(state.iterations() * stepsOf(module, w, T, values));
}

void registerAll() {
  const int all = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const struct {
    const char* name;
    Module module;
  } modules[] = {{"Quorvel", Module::Quorvel},   {"Daskent", Module::Daskent},
                 {"Morbane", Module::Morbane},   {"Tillock", Module::Tillock},
                 {"Granwick", Module::Granwick}, {"Pellory", Module::Pellory},
                 {"Vintarrow", Module::Vintarrow}};
  for (const auto& m : modules)
    for (int w = 0; w < 3; ++w)
      for (bool straightforward : {false, true}) {
        const std::string name = std::string("W") + std::to_string(w + 1) + "/" + m.name +
                                 (straightforward ? "/straightforward" : "/fast");
        benchmark::RegisterBenchmark(name.c_str(), spectra, m.module, w, straightforward)
            ->Arg(1)
            ->Arg(all)
            ->ArgName("threads")
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
      }
}

const int registered = (registerAll(), 0);

}  // namespace
