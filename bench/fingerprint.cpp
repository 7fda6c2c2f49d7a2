// Fingerprints of every module's outputs: one line per case with a hash of the field names,
// shapes and bits (every NaN counted as one value), the console text and the error. Run it before
// and after a change that must not move a bit and compare the two listings:
//   build/bench/spectra_fingerprint > before.txt ... spectra_fingerprint > after.txt; diff ...
// The cases are the speed workloads W1-W3 on one thread and on two, every strength definition of
// Morbane, both Tillock variants, and inputs at the edges (ζ = 0 and ζ ≥ 1, dt not positive or
// not a number, periods that are zero, negative or not a number, failing pairs, empty sweeps).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "gateways.h"
#include "core/runtime/execution.h"
#include "host/host.h"
#include "workloads.h"

namespace {

class Hash {
 public:
  void bytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < n; ++i) {
      h_ ^= p[i];
      h_ *= 1099511628211ull;
    }
  }
  void text(const std::string& s) {
    const std::uint64_t n = s.size();
    bytes(&n, sizeof n);
    bytes(s.data(), s.size());
  }
  void number(double x) {
    if (x != x) x = std::numeric_limits<double>::quiet_NaN();
    bytes(&x, sizeof x);
  }
  std::uint64_t value() const { return h_; }

 private:
  std::uint64_t h_ = 1469598103934665603ull;
};

std::uint64_t fingerprint(const host::Outcome& out) {
  Hash h;
  h.text(out.ok ? "ok" : "error");
  h.text(out.error);
  h.text(out.console);
  if (out.ok)
    for (const std::string& name : out.fieldNames()) {
      const mxArray& field = out.field(name);
      h.text(name);
      const std::uint64_t shape[2] = {field.rows, field.cols};
      h.bytes(shape, sizeof shape);
      for (double x : field.data) h.number(x);
    }
  return h.value();
}

using Args = std::vector<host::Value>;

bool report(const std::string& name, host::Gateway gateway, const Args& args) {
  std::vector<const mxArray*> pointers;
  for (const host::Value& v : args) pointers.push_back(v.get());
  const host::Outcome out = host::call(gateway, 1, pointers);
  std::printf("%-58s %016llx %s\n", name.c_str(),
              static_cast<unsigned long long>(fingerprint(out)), out.ok ? "ok" : "error");
  return out.ok;
}

host::Value col(const std::vector<double>& v) { return host::column(v); }
host::Value num(double x) { return host::scalar(x); }

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Workload {
  const char* name;
  int nAg;
  double dt;
  int nPeriods;
  int nValues;
};

const Workload kWorkloads[] = {
    {"W1", 4000, 0.01, 100, 1}, {"W2", 4000, 0.01, 300, 3}, {"W3", 40000, 0.005, 100, 1}};

std::vector<double> firstOf(const std::vector<double>& values, int n) {
  return std::vector<double>(values.begin(), values.begin() + n);
}

// Inputs of one module for a record pair, periods and swept values, in its calling form.
Args inputs(const std::string& module, const std::vector<double>& ag1,
            const std::vector<double>& ag2, double dt, const std::vector<double>& T,
            const std::vector<double>& swept) {
  Args a;
  a.push_back(col(ag1));
  if (module == "Daskent" || module == "Granwick" || module == "Vintarrow") a.push_back(col(ag2));
  a.push_back(num(dt));
  a.push_back(num(1.0));
  if (module == "Tillock" || module == "Granwick") a.push_back(num(9.81));
  a.push_back(host::row(swept));
  a.push_back(col(T));
  if (module == "Morbane") {
    a.push_back(num(0.02));
    a.push_back(num(0.01));
    a.push_back(host::text("R"));
    a.push_back(num(4.0));
  } else if (module == "Tillock" || module == "Granwick") {
    a.push_back(num(0.005));
  } else if (module == "Pellory" || module == "Vintarrow") {
    a.push_back(num(0.1));
  }
  return a;
}

std::vector<double> sweptOf(const std::string& module, int n) {
  if (module == "Tillock" || module == "Granwick") return firstOf({0.05, 0.03, 0.08}, n);
  if (module == "Pellory" || module == "Vintarrow")
    return firstOf({0.05 * 9.81, 0.03 * 9.81, 0.08 * 9.81}, n);
  return firstOf({0.05, 0.02, 0.10}, n);
}

bool isElastic(const std::string& module) {
  return module == "Quorvel" || module == "Daskent" || module == "Morbane";
}

void workloads() {
  for (const Workload& w : kWorkloads) {
    const std::vector<double> ag1 = bench::syntheticRecord(w.nAg, w.dt, 1, 3.0);
    const std::vector<double> ag2 = bench::syntheticRecord(w.nAg, w.dt, 2, 3.0);
    for (const bench::ModuleGateway& m : bench::moduleGateways()) {
      if (m.name == std::string("Tillock/weight")) continue;
      const std::vector<double> T = isElastic(m.name) ? bench::logPeriods(0.02, 10.0, w.nPeriods)
                                                      : bench::logPeriods(0.5, 6.0, w.nPeriods);
      const Args args = inputs(m.name, ag1, ag2, w.dt, T, sweptOf(m.name, w.nValues));
      for (int threads : {1, 2}) {
        core::setThreadCount(threads);
        report(std::string(w.name) + "/" + m.name + "/threads" + std::to_string(threads),
               m.gateway, args);
      }
      core::setThreadCount(0);
    }
  }
}

// A short record that makes lanes and sub-steps diverge: a strong pulse, NaN-free.
std::vector<double> shortRecord(int n = 600, double peak = 12.0) {
  return bench::syntheticRecord(n, 0.01, 7, peak);
}

void morbaneStrengths() {
  const std::vector<double> ag = shortRecord();
  const std::vector<double> T = bench::logPeriods(0.05, 3.0, 24);
  const struct {
    const char* keyword;
    double para;
  } strengths[] = {{"fy", 2.0},  {"yieldStrength", 0.5}, {"uy", 0.01}, {"yieldDisplacement", 0.2},
                   {"R", 4.0},   {"strengthReductionFactor", 1.5},      {"mu", 4.0},
                   {"ductilityFactor", 2.0}, {"mu", 1.0}, {"R", 0.0}};
  for (const auto& s : strengths)
    for (int threads : {1, 2}) {
      core::setThreadCount(threads);
      Args a;
      a.push_back(col(ag));
      a.push_back(num(0.01));
      a.push_back(num(1.0));
      a.push_back(host::row({0.0, 0.05}));
      a.push_back(col(T));
      a.push_back(num(0.03));
      a.push_back(num(0.02));
      a.push_back(host::text(s.keyword));
      a.push_back(num(s.para));
      report(std::string("Morbane/") + s.keyword + "=" + std::to_string(s.para) + "/threads" +
                 std::to_string(threads),
             bench::gatewayOf("Morbane"), a);
    }
  core::setThreadCount(0);
}

// Ductility searches, one period a call so that some settle while others fail, on a light and a
// heavy oscillator; trials fail and the carried peak is used.
void morbaneSearches() {
  int settled = 0;
  for (double mass : {1.0, 0.001})
    for (double mu : {2.0, 4.0})
      for (double T : {0.1, 0.3, 0.7, 1.5, 3.0})
        for (int threads : {1, 2}) {
          core::setThreadCount(threads);
          Args a;
          a.push_back(col(shortRecord(500, 1.5)));
          a.push_back(num(0.01));
          a.push_back(num(mass));
          a.push_back(host::row({0.05}));
          a.push_back(col({T, T * 1.1}));
          a.push_back(num(0.0));
          a.push_back(num(0.0));
          a.push_back(host::text("mu"));
          a.push_back(num(mu));
          settled += report("Morbane/search/m" + std::to_string(mass) + "/mu" +
                                std::to_string(mu) + "/T" + std::to_string(T) + "/threads" +
                                std::to_string(threads),
                            bench::gatewayOf("Morbane"), a);
        }
  core::setThreadCount(0);
  std::printf("settled ductility searches: %d\n", settled);
}

void tillockWeight() {
  const std::vector<double> ag = shortRecord(800, 200.0);  // in/s²
  const std::vector<double> T = bench::logPeriods(0.5, 5.0, 12);
  for (const std::vector<double>& frn :
       {std::vector<double>{0.03, 0.08}, std::vector<double>{0.0}, std::vector<double>{}}) {
    Args a;
    a.push_back(col(ag));
    a.push_back(num(0.01));
    a.push_back(num(1000.0));
    a.push_back(frn.empty() ? host::matrix(0, 0, {}) : host::row(frn));
    a.push_back(col(T));
    a.push_back(num(0.2));
    report("Tillock/weight/frn" + std::to_string(frn.size()), bench::gatewayOf("Tillock/weight"), a);
  }
}

// Every module with inputs at the edges of its domain.
void edges() {
  const std::vector<double> ag = shortRecord(300);
  const std::vector<double> agNaN = [&] {
    std::vector<double> v = ag;
    v[40] = kNaN;
    return v;
  }();
  const std::vector<double> T = {0.02, 0.5, 1.0, 0.0, -0.3, kNaN, 3.0};
  const struct {
    const char* name;
    double dt;
    const std::vector<double>* record;
  } variants[] = {{"dt0", 0.0, &ag},      {"dtNeg", -0.01, &ag}, {"dtNaN", kNaN, &ag},
                  {"dtHuge", 5.0, &ag},   {"agNaN", 0.01, &agNaN}, {"plain", 0.01, &ag}};
  for (const bench::ModuleGateway& m : bench::moduleGateways()) {
    if (m.name == std::string("Tillock/weight")) continue;
    for (const auto& v : variants) {
      std::vector<double> swept = sweptOf(m.name, 3);
      if (isElastic(m.name)) swept = {0.0, 0.05, 1.0, 1.5};
      else swept.push_back(0.0);
      report(std::string("edge/") + m.name + "/" + v.name, m.gateway,
             inputs(m.name, *v.record, *v.record, v.dt, T, swept));
    }
  }
  // Newmark in the elastic modules, ζ from 0 to beyond critical.
  for (const char* module : {"Quorvel", "Daskent"}) {
    Args a = inputs(module, ag, shortRecord(300, 5.0), 0.01, {0.01, 0.1, 1.0, 10.0},
                    {0.0, 0.05, 1.0, 2.0});
    a.push_back(host::text("newmark"));
    report(std::string("edge/") + module + "/newmark", bench::gatewayOf(module), a);
  }
  // Lead-rubber bearings at the ends of alpha.
  for (const char* module : {"Pellory", "Vintarrow"})
    for (double alpha : {0.0, 1.0, 0.5}) {
      Args a = inputs(module, ag, shortRecord(300, 5.0), 0.01, {0.5, 2.0}, {0.0, 0.3, 2.0});
      a.back() = num(alpha);
      report(std::string("edge/") + module + "/alpha" + std::to_string(alpha),
             bench::gatewayOf(module), a);
    }
}

}  // namespace

int main() {
  workloads();
  morbaneStrengths();
  morbaneSearches();
  tillockWeight();
  edges();
  return 0;
}
