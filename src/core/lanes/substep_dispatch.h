// The lane engine of a force law compiled for each vector unit, chosen at run time: include in the
// one source file of a module that instantiates it (compiled with -Wno-psabi).
#pragma once

#include "core/lanes/substep_lanes.h"
#include "core/runtime/execution.h"

namespace core::lanes {

namespace dispatch_detail {

template <template <class> class LaneLaw>
using LawOf = typename LaneLaw<Lanes<1, 1>>::Law;

template <template <class> class LaneLaw>
using RunOf = LaneRun<LawOf<LaneLaw>::kComponents>;

#if defined(__x86_64__)
template <template <class> class LaneLaw, int G>
__attribute__((target("avx512f"))) void runAvx512(const RunOf<LaneLaw>& run,
                                                  JobSource<LawOf<LaneLaw>>& source) {
  runJobs<LaneLaw<LanesOf<VectorUnit::AVX512, G>>, LanesOf<VectorUnit::AVX512, G>>(run, source);
}

template <template <class> class LaneLaw, int G>
__attribute__((target("avx2"))) void runAvx2(const RunOf<LaneLaw>& run,
                                             JobSource<LawOf<LaneLaw>>& source) {
  runJobs<LaneLaw<LanesOf<VectorUnit::AVX2, G>>, LanesOf<VectorUnit::AVX2, G>>(run, source);
}
#endif

template <template <class> class LaneLaw, int G>
void runSse2(const RunOf<LaneLaw>& run, JobSource<LawOf<LaneLaw>>& source) {
  runJobs<LaneLaw<LanesOf<VectorUnit::SSE2, G>>, LanesOf<VectorUnit::SSE2, G>>(run, source);
}

template <template <class> class LaneLaw, int G>
void runScalar(const RunOf<LaneLaw>& run, JobSource<LawOf<LaneLaw>>& source) {
  runJobs<LaneLaw<LanesOf<VectorUnit::None, G>>, LanesOf<VectorUnit::None, G>>(run, source);
}

}  // namespace dispatch_detail

// Runs every job of the source in the lanes of the vector unit, G registers' worth at a time (G
// scalar chains without a unit). Two hide the latency of one register's Newton chain: measured
// the best for every law so far.
template <template <class> class LaneLaw, int G>
void runSubstepJobs(const dispatch_detail::RunOf<LaneLaw>& run,
                    JobSource<dispatch_detail::LawOf<LaneLaw>>& source, VectorUnit unit) {
  switch (unit) {
#if defined(__x86_64__)
    case VectorUnit::AVX512: dispatch_detail::runAvx512<LaneLaw, G>(run, source); return;
    case VectorUnit::AVX2: dispatch_detail::runAvx2<LaneLaw, G>(run, source); return;
#endif
    case VectorUnit::SSE2: dispatch_detail::runSse2<LaneLaw, G>(run, source); return;
    default: dispatch_detail::runScalar<LaneLaw, G>(run, source);
  }
}

}  // namespace core::lanes
