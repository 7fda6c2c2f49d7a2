// No exception leaves a gateway: every allocation a call makes is made to fail in turn, and the
// call must then either succeed or end with its host error, never with an exception.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "core/runtime/execution.h"
#include "daskent/gateway.h"
#include "granwick/gateway.h"
#include "host/host.h"
#include "morbane/gateway.h"
#include "pellory/gateway.h"
#include "quorvel/gateway.h"
#include "support/calls.h"
#include "support/reference.h"
#include "tillock/gateway.h"
#include "tillock/gateway_weight.h"
#include "vintarrow/gateway.h"

namespace {

// Allocations left before the one that fails; negative when no failure is armed. Counted only
// while a gateway runs.
std::atomic<long> allocationsBeforeFailure{-1};
std::atomic<long> allocationsMade{0};

void* allocate(std::size_t size) {
  if (allocationsBeforeFailure.load() >= 0) {
    ++allocationsMade;
    if (allocationsBeforeFailure-- == 0) throw std::bad_alloc();
  }
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

host::Gateway current = nullptr;
bool escaped = false;
std::string escapedWhat;

// The gateway under test, with the failure armed only while it runs; anything but the host error
// that leaves it is recorded as an escape.
void armedGateway(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[], long failAt) {
  allocationsMade = 0;
  allocationsBeforeFailure = failAt;
  try {
    current(nlhs, plhs, nrhs, prhs);
  } catch (const host::HostError&) {
    allocationsBeforeFailure = -1;
    throw;
  } catch (const std::exception& e) {
    allocationsBeforeFailure = -1;
    escaped = true;
    escapedWhat = e.what();
    throw host::HostError("escaped");
  } catch (...) {
    allocationsBeforeFailure = -1;
    escaped = true;
    throw host::HostError("escaped");
  }
  allocationsBeforeFailure = -1;
}

long failAt = -1;
void gatewayFailingOnce(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  armedGateway(nlhs, plhs, nrhs, prhs, failAt);
}

struct Case {
  std::string name;
  host::Gateway gateway;
  support::Args args;
};

std::vector<Case> cases() {
  const std::vector<double> ag = support::testRecord(60, 0.01, 6.0);
  const std::vector<double> ag2 = support::testRecord(60, 0.013, 4.0);
  const std::vector<double> T = {0.2, 0.7, 1.5};
  std::vector<Case> list;
  auto add = [&](const std::string& name, host::Gateway gateway) {
    list.push_back({name, gateway, {}});
    return &list.back().args;
  };
  add("Quorvel", quorvel::mexFunction)->add(ag).add(0.01).add(1.0).add({0.02, 0.05}).add(T);
  add("Quorvel newmark", quorvel::mexFunction)
      ->add(ag)
      .add(0.01)
      .add(1.0)
      .add({0.05})
      .add(T)
      .add("newmark");
  add("Daskent", daskent::mexFunction)->add(ag).add(ag2).add(0.01).add(1.0).add({0.05}).add(T);
  add("Morbane R", morbane::mexFunction)
      ->add(ag)
      .add(0.01)
      .add(1.0)
      .add({0.05})
      .add(T)
      .add(0.02)
      .add(0.0)
      .add("R")
      .add(3.0);
  add("Morbane mu", morbane::mexFunction)
      ->add(ag)
      .add(0.01)
      .add(0.01)
      .add({0.05})
      .add(T)
      .add(0.0)
      .add(0.0)
      .add("mu")
      .add(2.0);
  add("Tillock", tillock::mexFunction)
      ->add(ag)
      .add(0.01)
      .add(1.0)
      .add(9.81)
      .add({0.05})
      .add(T)
      .add(0.005);
  add("Tillock weight", tillock::weight::mexFunction)
      ->add(ag)
      .add(0.01)
      .add(386.1)
      .add({0.05})
      .add(T)
      .add(0.2);
  add("Granwick", granwick::mexFunction)
      ->add(ag)
      .add(ag2)
      .add(0.01)
      .add(1.0)
      .add(9.81)
      .add({0.05})
      .add(T)
      .add(0.005);
  add("Pellory", pellory::mexFunction)->add(ag).add(0.01).add(1.0).add({0.5}).add(T).add(0.1);
  add("Vintarrow", vintarrow::mexFunction)
      ->add(ag)
      .add(ag2)
      .add(0.01)
      .add(1.0)
      .add({0.5})
      .add(T)
      .add(0.1);
  return list;
}

TEST(gatewayAllocations, no_exception_leaves_a_gateway_whichever_allocation_fails) {
  for (int threads : {1, 2}) {
    core::setThreadCount(threads);
    for (const Case& c : cases()) {
      current = c.gateway;
      failAt = 1L << 40;  // never: count what a whole call allocates
      escaped = false;
      const host::Outcome whole = support::call(gatewayFailingOnce, c.args);
      ASSERT_FALSE(escaped) << c.name << ": " << escapedWhat;
      const long total = allocationsMade;
      ASSERT_GT(total, 0) << c.name;
      for (failAt = 0; failAt < total; ++failAt) {
        escaped = false;
        const host::Outcome out = support::call(gatewayFailingOnce, c.args);
        EXPECT_FALSE(escaped) << c.name << ", threads " << threads << ": allocation " << failAt
                              << ": " << escapedWhat;
        if (!out.ok) {
          EXPECT_TRUE(out.error == "out of memory" ||
                      out.error.find("::mexFunction - errors encountered during spectra "
                                     "generation") != std::string::npos)
              << c.name << ", allocation " << failAt << ": " << out.error;
        }
      }
    }
  }
  core::setThreadCount(0);
}

}  // namespace
