// Big inputs through the gateways (own host): a record of 10^8 samples, 10^6 periods (as a vector
// and generated), 10^5 swept values. Each case runs in a child process so that its peak memory is
// its own; the table gives the outcome, the time, the peak resident memory and the memory the
// inputs and outputs alone take. Usage: spectra_big_inputs [case ...] (default: every case).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/runtime/execution.h"
#include "harness/calling_forms.h"

namespace {

struct Case {
  std::string name;
  std::string module;
  std::size_t samples;  // record length
  std::size_t periods;  // nT
  bool generated;       // Tstart, Tend, nT instead of a vector
  std::size_t swept;    // zeta, frn or Qd values
  int threads;
};

const std::vector<Case>& cases() {
  static const std::vector<Case> list = {
      {"record-1e8-quorvel", "Quorvel", 100000000, 1, false, 1, 1},
      {"record-5e7-pellory", "Pellory", 50000000, 1, false, 1, 1},
      {"record-1e8-morbane", "Morbane", 100000000, 1, false, 1, 1},
      {"periods-1e6-quorvel", "Quorvel", 1000, 1000000, false, 1, 2},
      {"periods-1e6-generated-quorvel", "Quorvel", 1000, 1000000, true, 1, 2},
      {"periods-1e6-pellory", "Pellory", 200, 1000000, false, 1, 2},
      {"swept-1e5-quorvel", "Quorvel", 1000, 10, false, 100000, 2},
      {"swept-1e5-tillock", "Tillock", 200, 10, false, 100000, 2},
  };
  return list;
}

host::Value sized(std::size_t rows, std::vector<double> values) {
  auto array = std::make_unique<mxArray>();
  array->rows = rows;
  array->cols = 1;
  array->data = std::move(values);
  return array;
}

host::Value record(std::size_t n) {
  std::vector<double> ag(n);
  for (std::size_t i = 0; i < n; ++i) ag[i] = 2.0 * std::sin(0.3 * static_cast<double>(i % 100000));
  return sized(n, std::move(ag));
}

host::Value evenlySpaced(std::size_t n, double first, double last) {
  std::vector<double> values(n);
  for (std::size_t i = 0; i < n; ++i)
    values[i] = n == 1 ? first : first + (last - first) * static_cast<double>(i) / (n - 1);
  return sized(n, std::move(values));
}

std::vector<host::Value> inputsOf(const Case& c, const fuzz::ModuleForms& module,
                                  const std::vector<fuzz::Slot>& form) {
  using fuzz::Slot;
  std::vector<host::Value> inputs;
  for (Slot slot : form) {
    switch (slot) {
      case Slot::Record: inputs.push_back(record(c.samples)); break;
      case Slot::Dt: inputs.push_back(host::scalar(0.01)); break;
      case Slot::Mass: inputs.push_back(host::scalar(1.0)); break;
      case Slot::Gravity: inputs.push_back(host::scalar(9.80665)); break;
      case Slot::Swept:
        inputs.push_back(module.sweptField == "Qd" ? evenlySpaced(c.swept, 0.05, 0.5)
                                                   : evenlySpaced(c.swept, 0.01, 0.2));
        break;
      case Slot::Periods: inputs.push_back(evenlySpaced(c.periods, 0.05, 5.0)); break;
      case Slot::Tstart: inputs.push_back(host::scalar(0.05)); break;
      case Slot::Tend: inputs.push_back(host::scalar(5.0)); break;
      case Slot::Count: inputs.push_back(host::scalar(static_cast<double>(c.periods))); break;
      case Slot::Kin: inputs.push_back(host::scalar(0.02)); break;
      case Slot::Iso: inputs.push_back(host::scalar(0.0)); break;
      case Slot::Strength: inputs.push_back(host::text("R")); break;
      case Slot::Para: inputs.push_back(host::scalar(4.0)); break;
      case Slot::Uy: inputs.push_back(host::scalar(0.001)); break;
      case Slot::Alpha: inputs.push_back(host::scalar(0.1)); break;
      case Slot::Method: inputs.push_back(host::text("recform")); break;
    }
  }
  return inputs;
}

// Megabytes of the inputs and of the output arrays the call must create.
double neededMegabytes(const Case& c, const fuzz::ModuleForms& module) {
  const double inputs = static_cast<double>(c.samples + c.periods + c.swept);
  const double outputs = static_cast<double>(c.periods) * 2 +
                         static_cast<double>(c.periods * c.swept) * (module.fieldCount - 5);
  return (inputs + outputs) * sizeof(double) / 1e6;
}

void runCase(const Case& c) {
  const fuzz::ModuleForms& module = fuzz::formsOf(c.module);
  const std::vector<fuzz::Slot>& form = module.forms[c.generated && c.module == "Quorvel" ? 2 : 0];
  const std::vector<host::Value> inputs = inputsOf(c, module, form);
  std::vector<const mxArray*> pointers;
  for (const host::Value& input : inputs) pointers.push_back(input.get());
  core::setThreadCount(c.threads);
  const auto start = std::chrono::steady_clock::now();
  const host::Outcome outcome = host::call(module.gateway, 1, pointers);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("%-30s %-8s %8.1f s  needs %8.0f MB  %s\n", c.name.c_str(),
              outcome.ok ? "ok" : "error", seconds.count(), neededMegabytes(c, module),
              outcome.ok ? "" : outcome.error.substr(0, outcome.error.find('\n')).c_str());
  std::fflush(stdout);
}

void runInChild(const Case& c) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    runCase(c);
    _exit(0);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  std::printf("%-30s peak resident memory %.0f MB%s\n", "", usage.ru_maxrss * 1024.0 / 1e6,
              WIFSIGNALED(status) ? (" (killed by signal " + std::to_string(WTERMSIG(status)) + ")").c_str()
                                  : "");
}

}  // namespace

int main(int argc, char** argv) {
  for (const Case& c : cases()) {
    bool wanted = argc == 1;
    for (int i = 1; i < argc; ++i) wanted = wanted || c.name == argv[i];
    if (wanted) runInChild(c);
  }
  return 0;
}
