// Every module through its gateway on one thread and on several: the same outputs and the same
// console text in the same order, including pairs whose integration fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/runtime/execution.h"
#include "quorvel/gateway.h"
#include "daskent/gateway.h"
#include "tillock/gateway.h"
#include "tillock/gateway_weight.h"
#include "granwick/gateway.h"
#include "morbane/gateway.h"
#include "pellory/gateway.h"
#include "vintarrow/gateway.h"
#include "support/calls.h"
#include "support/reference.h"

namespace {

using support::Args;

// A record with one pulse so violent that long-period isolators cannot converge, followed by
// ordinary motion.
std::vector<double> violent() {
  std::vector<double> ag = support::testRecord(60, 0.01, 2.0);
  ag[1] = 1e25;
  ag[2] = -5e24;
  return ag;
}

std::vector<double> periods() { return {0.002, 2.0, 0.3, 3.0, 0.05, 1.0, 4.0}; }

struct Call {
  std::string name;
  host::Gateway gateway;
  Args args;
};

std::vector<Call> calls() {
  const std::vector<double> ag = support::testRecord(300, 0.01, 3.0);
  const std::vector<double> ag2 = support::testRecord(280, 0.012, 2.0);
  std::vector<Call> list;
  auto add = [&](const std::string& name, host::Gateway g) -> Args& {
    list.push_back({name, g, Args()});
    return list.back().args;
  };
  add("Quorvel", quorvel::mexFunction).add(ag).add(0.01).add(1.0).add(host::row({0.02, 0.05})).add(periods());
  add("Daskent", daskent::mexFunction).add(ag).add(ag2).add(0.01).add(1.0).add(0.05).add(periods()).add("newmark");
  add("Morbane mu", morbane::mexFunction).add(ag).add(0.01).add(1.0).add(host::row({0.05, 0.02}))
      .add(std::vector<double>{0.5, 0.8, 1.2, 2.0}).add(0.02).add(0.0).add("mu").add(3.0);
  add("Morbane mu, settling", morbane::mexFunction).add(ag).add(0.01).add(1.0).add(0.05)
      .add(std::vector<double>{1.5, 2.5, 4.0}).add(0.02).add(0.0).add("mu").add(3.0);
  add("Morbane R", morbane::mexFunction).add(ag).add(0.01).add(1.0).add(0.05).add(periods())
      .add(0.05).add(0.01).add("R").add(4.0);
  add("Tillock", tillock::mexFunction).add(violent()).add(0.01).add(1.0).add(9.81)
      .add(host::row({0.05, 0.1})).add(periods()).add(0.01);
  add("Tillock weight", tillock::weight::mexFunction).add(violent()).add(0.01).add(386.1)
      .add(host::row({0.05, 0.1})).add(periods()).add(0.4);
  add("Granwick", granwick::mexFunction).add(violent()).add(violent()).add(0.01).add(1.0).add(9.81)
      .add(host::row({0.05})).add(periods()).add(0.01);
  add("Pellory", pellory::mexFunction).add(violent()).add(0.01).add(1.0).add(host::row({0.5, 2.0}))
      .add(periods()).add(0.1);
  add("Vintarrow", vintarrow::mexFunction).add(violent()).add(ag2).add(0.01).add(1.0)
      .add(host::row({0.5})).add(periods()).add(0.1);
  return list;
}

TEST(threads, every_module_gives_the_same_outputs_and_warnings_on_any_thread_count) {
  int withWarnings = 0;
  for (const Call& c : calls()) {
    core::setThreadCount(1);
    const host::Outcome one = support::call(c.gateway, c.args);
    withWarnings += one.console.empty() ? 0 : 1;
    for (int threads : {2, 3, 8}) {
      core::setThreadCount(threads);
      const host::Outcome many = support::call(c.gateway, c.args);
      EXPECT_EQ(many.console, one.console) << c.name << ", " << threads << " threads";
      EXPECT_EQ(many.error, one.error) << c.name << ", " << threads << " threads";
      if (one.ok) {
        EXPECT_EQ(support::firstDifference(many, one), "") << c.name << ", " << threads;
      }
    }
  }
  core::setThreadCount(0);
  EXPECT_GE(withWarnings, 4);  // the violent record makes isolator pairs fail
}

}  // namespace
