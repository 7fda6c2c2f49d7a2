// Every gateway against one table of unusable inputs: wrong argument counts, arrays of other
// classes, empty and mis-shaped arrays, counts out of range, keywords and fractions outside their
// sets. Each is refused with the module's exact text before any output exists.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "daskent/gateway.h"
#include "granwick/gateway.h"
#include "morbane/gateway.h"
#include "pellory/gateway.h"
#include "quorvel/gateway.h"
#include "support/calls.h"
#include "support/reference.h"
#include "tillock/gateway.h"
#include "tillock/gateway_weight.h"
#include "vintarrow/gateway.h"

namespace {

using K = gateway::InputKind;

struct Module {
  host::Gateway gateway;
  const gateway::Signature& signature;
  std::string usage;
};

const std::vector<Module>& modules() {
  static const std::vector<Module> all = {
      {quorvel::mexFunction, quorvel::signature(), "spectra = Quorvel(ag,dt,m,zeta,T);"},
      {daskent::mexFunction, daskent::signature(), "spectra = Daskent(ag1,ag2,dt,m,zeta,T);"},
      {morbane::mexFunction, morbane::signature(),
       "spectra = Morbane(ag,dt,m,zeta,T,kin,iso,method,para);"},
      {tillock::mexFunction, tillock::signature(), "spectra = Tillock(ag,dt,m,g,frn,T,uy);"},
      {tillock::weight::mexFunction, tillock::weight::signature(),
       "spectra = Tillock(ag,dt,W,frn,T,uy);"},
      {granwick::mexFunction, granwick::signature(),
       "spectra = Granwick(ag1,ag2,dt,m,g,frn,T,uy);"},
      {pellory::mexFunction, pellory::signature(), "spectra = Pellory(ag,dt,m,Qd,T,alpha);"},
      {vintarrow::mexFunction, vintarrow::signature(),
       "spectra = Vintarrow(ag1,ag2,dt,m,Qd,T,alpha);"},
  };
  return all;
}

std::string prefix(const Module& m) { return std::string(m.signature.module) + "::mexFunction - "; }

double scalarFor(const std::string& name) {
  if (name == "dt") return 0.01;
  if (name == "g") return 9.81;
  if (name == "W") return 386.1;
  if (name == "uy") return 0.005;
  if (name == "para") return 2.0;
  if (name == "kin") return 0.01;
  if (name == "iso") return 0.0;
  return 1.0;  // m
}

// A valid call: every input in calling order, T given as a row or generated (three inputs), the
// optional keyword left out.
std::vector<host::Value> validInputs(const Module& m, bool generated) {
  std::vector<host::Value> inputs;
  for (const gateway::InputInfo& in : m.signature.inputs) {
    switch (in.kind) {
      case K::Record: inputs.push_back(host::column(support::testRecord(40, 0.01))); break;
      case K::Scalar: inputs.push_back(host::scalar(scalarFor(in.name))); break;
      case K::Fraction: inputs.push_back(host::scalar(0.1)); break;
      case K::Swept: inputs.push_back(host::row({0.05, 0.1})); break;
      case K::Periods:
        if (generated) {
          inputs.push_back(host::scalar(0.5));
          inputs.push_back(host::scalar(1.5));
          inputs.push_back(host::scalar(3.0));
        } else {
          inputs.push_back(host::row({0.5, 1.0}));
        }
        break;
      case K::Keyword:
        if (!in.optional) inputs.push_back(host::text(in.keywords[0]));
        break;
    }
  }
  return inputs;
}

// Where each declared input stands in a call of the vector form (generated: T is three inputs).
int positionOf(const Module& m, const std::string& name, bool generated) {
  int position = 0;
  for (const gateway::InputInfo& in : m.signature.inputs) {
    if (name == in.name) return position;
    position += in.kind == K::Periods && generated ? 3 : 1;
  }
  return -1;
}

host::Value withFlags(host::Value v, bool complex, bool sparse) {
  v->complex = complex;
  v->sparse = sparse;
  return v;
}

// Arrays that are no real double array at all.
std::vector<host::Value> otherClasses() {
  std::vector<host::Value> values;
  for (mxArray::Class cls : {mxArray::Class::Single, mxArray::Class::Logical, mxArray::Class::Int32,
                             mxArray::Class::Cell, mxArray::Class::Struct})
    values.push_back(host::ofClass(cls, 1, 2));
  values.push_back(host::text("abc"));
  values.push_back(withFlags(host::row({1.0, 2.0}), true, false));
  values.push_back(withFlags(host::row({1.0, 2.0}), false, true));
  return values;
}

struct Case {
  bool generated;
  int position;
  host::Value value;
  std::string error;  // without the module prefix
};

void addCase(std::vector<Case>& cases, bool generated, int position, host::Value value,
             const std::string& error) {
  cases.push_back({generated, position, std::move(value), error});
}

// The cases for one input of the vector form, by its kind.
void inputCases(const Module& m, const gateway::InputInfo& in, std::vector<Case>& cases) {
  const std::string name = in.name;
  const int at = positionOf(m, name, false);
  switch (in.kind) {
    case K::Record:
    case K::Swept:
      for (host::Value& v : otherClasses())
        addCase(cases, false, at, std::move(v), name + " must be a real double vector");
      addCase(cases, false, at, host::matrix(1, 0, {}), name + " must have at least one element");
      if (in.kind == K::Record || in.empty == gateway::Empty::Rejected)
        addCase(cases, false, at, host::matrix(0, 0, {}), name + " must have at least one element");
      break;
    case K::Scalar:
    case K::Fraction:
      for (host::Value& v : otherClasses())
        addCase(cases, false, at, std::move(v), name + " must be a real double scalar");
      addCase(cases, false, at, host::matrix(0, 0, {}), name + " must be a real double scalar");
      addCase(cases, false, at, host::matrix(0, 1, {}), name + " must be a real double scalar");
      if (in.kind == K::Fraction)
        for (double bad : {-0.1, 1.5, 2.0, std::nan("")})
          addCase(cases, false, at, host::scalar(bad), name + " must lie between 0 and 1");
      break;
    case K::Periods:
      for (host::Value& v : otherClasses())
        addCase(cases, false, at, std::move(v), "T must be a real double vector");
      for (auto [rows, cols] : {std::pair{0, 0}, {0, 1}, {1, 0}, {0, 3}})
        addCase(cases, false, at, host::matrix(rows, cols, {}), "T must have at least one element");
      break;
    case K::Keyword: break;  // see keywordCases
  }
}

// The generated periods: Tstart, Tend, nT, checked in the order Tstart, nT, Tend.
void generatedCases(const Module& m, std::vector<Case>& cases) {
  const int start = positionOf(m, "T", true);
  addCase(cases, true, start, host::matrix(0, 0, {}), "Tstart must be a real double scalar");
  addCase(cases, true, start, host::ofClass(mxArray::Class::Logical, 1, 1),
          "Tstart must be a real double scalar");
  addCase(cases, true, start + 1, host::matrix(0, 0, {}), "Tend must be a real double scalar");
  addCase(cases, true, start + 2, host::text("3"), "nT must be a real double scalar");
  for (double count : {0.0, 0.5, 0.9, -2.0, -3.0, std::nan("")})
    addCase(cases, true, start + 2, host::scalar(count), "nT must be at least 1");
  addCase(cases, true, start + 2, host::scalar(2147483648.0),
          "nT is larger than a 32-bit count can hold");
  // An input after the periods stands three places later.
  const gateway::InputInfo& last = m.signature.inputs.back();
  if (last.kind == K::Scalar || last.kind == K::Fraction)
    addCase(cases, true, positionOf(m, last.name, true), host::text("x"),
            std::string(last.name) + " must be a real double scalar");
}

bool accepted(const gateway::InputInfo& in, const std::string& text) {
  for (const char* const* k = in.keywords; *k != nullptr; ++k)
    if (text == *k) return true;
  return false;
}

// Calls of the keyword: not text, and texts that are not among the keywords (case, blanks,
// length, emptiness, a NUL inside).
void keywordCases(const Module& m, const gateway::InputInfo& in, std::vector<Case>& cases) {
  const int at = positionOf(m, in.name, false);
  addCase(cases, false, at, host::scalar(3.0), std::string(in.name) + " must be text");
  for (const std::string& text :
       {std::string("Recform"), std::string("newmark "), std::string("recform"),
        std::string("recformrecformrecformrecformrecformrecform"), std::string(""),
        std::string("recform\0x", 9), std::string("R\0x", 3), std::string("Fy"), std::string("MU"),
        std::string("r"), std::string("strengthReductionFactorX"), std::string("yield"),
        std::string(5000, 'R')}) {
    if (accepted(in, text)) continue;
    addCase(cases, false, at, host::text(text), "invalid time domain analysis method received");
  }
}

std::vector<Case> casesOf(const Module& m) {
  std::vector<Case> cases;
  for (const gateway::InputInfo& in : m.signature.inputs) {
    if (in.kind == K::Keyword)
      keywordCases(m, in, cases);
    else
      inputCases(m, in, cases);
  }
  generatedCases(m, cases);
  return cases;
}

host::Outcome callWith(const Module& m, bool generated, int position, const mxArray* value) {
  const std::vector<host::Value> inputs = validInputs(m, generated);
  std::vector<const mxArray*> pointers;
  for (const host::Value& v : inputs) pointers.push_back(v.get());
  if (position >= static_cast<int>(pointers.size()))
    pointers.push_back(value);  // the optional keyword, given
  else
    pointers[static_cast<std::size_t>(position)] = value;
  return host::call(m.gateway, 1, pointers);
}

TEST(gatewayInputs, the_valid_calls_of_the_table_succeed) {
  for (const Module& m : modules())
    for (bool generated : {false, true}) {
      const std::vector<host::Value> inputs = validInputs(m, generated);
      std::vector<const mxArray*> pointers;
      for (const host::Value& v : inputs) pointers.push_back(v.get());
      const host::Outcome out = host::call(m.gateway, 1, pointers);
      EXPECT_TRUE(out.ok) << m.signature.module << ": " << out.error;
    }
}

TEST(gatewayInputs, unusable_inputs_are_refused_before_any_output) {
  for (const Module& m : modules()) {
    for (Case& c : casesOf(m)) {
      const host::Outcome out = callWith(m, c.generated, c.position, c.value.get());
      EXPECT_FALSE(out.ok) << m.signature.module << ": " << c.error;
      EXPECT_EQ(out.error, prefix(m) + c.error + "\n") << "input " << c.position;
      EXPECT_TRUE(out.arena.empty()) << m.signature.module << ": " << c.error;
      EXPECT_EQ(out.result, nullptr);
    }
  }
}

TEST(gatewayInputs, argument_counts_outside_the_calling_forms_are_refused) {
  for (const Module& m : modules()) {
    const std::string usage =
        prefix(m) + "wrong number of arguments received\nexpecting: " + m.usage + "\n";
    const std::vector<host::Value> valid = validInputs(m, false);
    std::vector<const mxArray*> pointers;
    for (const host::Value& v : valid) pointers.push_back(v.get());
    for (int nlhs : {0, 2}) EXPECT_EQ(host::call(m.gateway, nlhs, pointers).error, usage);

    const int shortest = static_cast<int>(valid.size());
    const bool optional = m.signature.inputs.back().optional;
    const host::Value filler = host::scalar(1.0);
    for (int n = 0; n <= shortest + 4; ++n) {
      const int extra = n - shortest;
      const bool fits = extra == 0 || extra == 2 || (optional && (extra == 1 || extra == 3));
      if (fits) continue;
      std::vector<const mxArray*> inputs(static_cast<std::size_t>(n), filler.get());
      const host::Outcome out = host::call(m.gateway, 1, inputs);
      EXPECT_EQ(out.error, usage) << m.signature.module << " with " << n << " inputs";
      EXPECT_TRUE(out.arena.empty());
    }
  }
}

}  // namespace
